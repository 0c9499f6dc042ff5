// The frame of one date an entry's password is due on (expiry, or change):
// whether the date applies, the date itself with a calendar drop-down, the
// same date as a number of days from today (each follows the other), and
// whether and how many days ahead to warn.
#pragma once

#include <QDate>
#include <QGroupBox>

class QCheckBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QSpinBox;
class QToolButton;

namespace qvs {

class frmCalendar;

class DueDateFrame : public QGroupBox {
    Q_OBJECT
public:
    // Object names of the controls, and the text ids of their captions.
    struct Design {
        const char* frame;
        const char* check;
        const char* date;
        const char* toggle;
        const char* days;
        const char* notifyCheck;
        const char* notifyDays;
        int title, checkText, dateLabel, daysLabel, notifyText, notifyAfter;
    };

    DueDateFrame(const Design& design, frmCalendar* picker, QWidget* parent);

    // The day the day count counts from.
    void SetToday(const QDate& today);

    bool Due() const;
    void SetDue(bool due);
    QDate Date() const;
    // The day count follows.
    void SetDate(const QDate& date);
    int Days() const;
    // The date follows.
    void SetDays(int days);
    bool Notify() const;
    void SetNotify(bool notify);
    int NotifyDays() const;
    void SetNotifyDays(int days);

    // The width of the captions' column, so that two frames can line up.
    int CaptionWidth() const;
    void SetCaptionWidth(int width);

    QCheckBox* Check() const { return check_; }
    QDateEdit* DateBox() const { return date_; }
    QToolButton* Toggle() const { return toggle_; }
    QSpinBox* DaysBox() const { return days_; }

private:
    void EnableControls();
    void OnDateEdited(const QDate& date);
    void OnDaysEdited(int days);
    void OpenPicker();
    void ClosePicker();

    frmCalendar* picker_;
    QDate today_;
    QCheckBox* check_;
    QDateEdit* date_;
    QToolButton* toggle_;
    QSpinBox* days_;
    QCheckBox* notify_;
    QSpinBox* notifyDays_;
    QList<QWidget*> dependents_; // enabled only while the date applies
    QList<QWidget*> captions_;   // the first column
    QGridLayout* grid_;
    QMetaObject::Connection pickerChange_;
    QMetaObject::Connection pickerClose_;
};

} // namespace qvs
