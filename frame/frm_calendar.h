// A drop-down month calendar attached to a date box: it opens under the box
// showing the box's date, reports every change of the chosen date, and closes
// when a day is clicked or Escape is pressed, or when the user clicks
// elsewhere.
#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;

namespace qvs {

class frmCalendar : public QWidget {
    Q_OBJECT
public:
    explicit frmCalendar(QWidget* parent = nullptr);

    QDate Value() const;
    // Sets the date shown without raising Change.
    void SetValue(const QDate& date);
    // The earliest and latest dates the calendar offers.
    void SetRange(const QDate& first, const QDate& last);

    // Opens the calendar under anchor (or above it when the screen has no
    // room below) with the keyboard focus on the chosen day.
    void DropDown(QWidget* anchor);

    QCalendarWidget* Calendar() const { return calendar_; }

signals:
    // The chosen date changed (by keys, wheel or click).
    void Change();
    // The calendar is closing; Value() is the final date.
    void CloseUp();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void OnClicked();

    QCalendarWidget* calendar_;
    bool setting_ = false;
};

} // namespace qvs
