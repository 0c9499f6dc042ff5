#include "frame/frm_calendar.h"

#include <QCalendarWidget>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qvs {

frmCalendar::frmCalendar(QWidget* parent)
    : QWidget(parent, Qt::Popup), calendar_(new QCalendarWidget(this)) {
    setObjectName(QStringLiteral("frmCalendar"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(calendar_);
    calendar_->setGridVisible(true);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    connect(calendar_, &QCalendarWidget::selectionChanged, this, [this] {
        if (!setting_) emit Change();
    });
    // A click, Enter or a double-click on a day confirms it.
    connect(calendar_, &QCalendarWidget::clicked, this, &frmCalendar::OnClicked);
    connect(calendar_, &QCalendarWidget::activated, this, &frmCalendar::OnClicked);
}

QDate frmCalendar::Value() const {
    return calendar_->selectedDate();
}

void frmCalendar::SetValue(const QDate& date) {
    setting_ = true;
    calendar_->setSelectedDate(date);
    setting_ = false;
}

void frmCalendar::SetRange(const QDate& first, const QDate& last) {
    setting_ = true;
    calendar_->setDateRange(first, last);
    setting_ = false;
}

void frmCalendar::DropDown(QWidget* anchor) {
    adjustSize();
    QPoint at = anchor->mapToGlobal(QPoint(0, anchor->height()));
    if (const QScreen* screen = anchor->screen()) {
        const QRect room = screen->availableGeometry();
        if (at.y() + height() > room.bottom())
            at.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - height());
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width())));
    }
    move(at);
    show();
    calendar_->setFocus(Qt::PopupFocusReason);
}

void frmCalendar::OnClicked() {
    emit Change();
    close();
}

void frmCalendar::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit CloseUp();
}

} // namespace qvs
