#include "dialogs/entry/due_date_frame.h"

#include "dialogs/text_ids.h"
#include "frame/frm_calendar.h"
#include "frame/vb_date_qt.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>
#include <limits>

namespace qvs {

namespace {

QString Id(int textId) {
    return QString::number(textId);
}

QLabel* Label(int textId, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(Id(textId), parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

DueDateFrame::DueDateFrame(const Design& d, frmCalendar* picker, QWidget* parent)
    : QGroupBox(Id(d.title), parent), picker_(picker), check_(new QCheckBox(Id(d.checkText), this)),
      date_(new QDateEdit(this)), toggle_(new QToolButton(this)), days_(new QSpinBox(this)),
      notify_(new QCheckBox(Id(d.notifyText), this)), notifyDays_(new QSpinBox(this)) {
    setObjectName(QString::fromLatin1(d.frame));
    check_->setObjectName(QString::fromLatin1(d.check));
    date_->setObjectName(QString::fromLatin1(d.date));
    toggle_->setObjectName(QString::fromLatin1(d.toggle));
    days_->setObjectName(QString::fromLatin1(d.days));
    notify_->setObjectName(QString::fromLatin1(d.notifyCheck));
    notifyDays_->setObjectName(QString::fromLatin1(d.notifyDays));

    date_->setDisplayFormat(DateDisplayFormat());
    date_->setDateRange(FirstVbDate(), LastVbDate());
    toggle_->setCheckable(true);
    toggle_->setArrowType(Qt::DownArrow);
    toggle_->setToolTip(Id(text::kDatePickerTip));
    notifyDays_->setRange(0, std::numeric_limits<std::int16_t>::max());

    QLabel* dateLabel = Label(d.dateLabel, date_, this);
    QLabel* daysLabel = Label(d.daysLabel, days_, this);
    auto* after = new QLabel(Id(d.notifyAfter), this);
    auto* grid = grid_ = new QGridLayout(this);
    grid->addWidget(check_, 0, 0, 1, 4);
    grid->addWidget(dateLabel, 1, 0);
    grid->addWidget(date_, 1, 1);
    grid->addWidget(toggle_, 1, 2, Qt::AlignLeft);
    grid->addWidget(daysLabel, 2, 0);
    grid->addWidget(days_, 2, 1);
    grid->addWidget(notify_, 3, 0);
    grid->addWidget(notifyDays_, 3, 1);
    grid->addWidget(after, 3, 2, 1, 2);
    grid->setColumnStretch(3, 1);
    dependents_ = {dateLabel, date_, toggle_, daysLabel, days_, notify_, after};
    captions_ = {dateLabel, daysLabel, notify_};

    connect(check_, &QCheckBox::toggled, this, &DueDateFrame::EnableControls);
    connect(notify_, &QCheckBox::toggled, this, &DueDateFrame::EnableControls);
    connect(date_, &QDateEdit::dateChanged, this, &DueDateFrame::OnDateEdited);
    connect(days_, &QSpinBox::valueChanged, this, &DueDateFrame::OnDaysEdited);
    connect(toggle_, &QToolButton::clicked, this, [this](bool down) {
        if (down) OpenPicker();
    });
    SetToday(QDate::currentDate());
    EnableControls();
}

void DueDateFrame::SetToday(const QDate& today) {
    today_ = today;
    const QSignalBlocker block(days_);
    days_->setRange(static_cast<int>(today.daysTo(FirstVbDate())),
                    static_cast<int>(today.daysTo(LastVbDate())));
    days_->setValue(static_cast<int>(today.daysTo(date_->date())));
}

int DueDateFrame::CaptionWidth() const {
    int width = 0;
    for (const QWidget* w : captions_)
        width = std::max(width, w->sizeHint().width());
    return width;
}

void DueDateFrame::SetCaptionWidth(int width) {
    grid_->setColumnMinimumWidth(0, width);
}

bool DueDateFrame::Due() const {
    return check_->isChecked();
}

void DueDateFrame::SetDue(bool due) {
    check_->setChecked(due);
    EnableControls();
}

QDate DueDateFrame::Date() const {
    return date_->date();
}

void DueDateFrame::SetDate(const QDate& date) {
    {
        const QSignalBlocker block(date_);
        date_->setDate(date);
    }
    OnDateEdited(date_->date());
}

int DueDateFrame::Days() const {
    return days_->value();
}

void DueDateFrame::SetDays(int days) {
    {
        const QSignalBlocker block(days_);
        days_->setValue(days);
    }
    OnDaysEdited(days_->value());
}

bool DueDateFrame::Notify() const {
    return notify_->isChecked();
}

void DueDateFrame::SetNotify(bool notify) {
    notify_->setChecked(notify);
    EnableControls();
}

int DueDateFrame::NotifyDays() const {
    return notifyDays_->value();
}

void DueDateFrame::SetNotifyDays(int days) {
    notifyDays_->setValue(days);
}

void DueDateFrame::EnableControls() {
    for (QWidget* w : dependents_)
        w->setEnabled(check_->isChecked());
    notifyDays_->setEnabled(check_->isChecked() && notify_->isChecked());
}

void DueDateFrame::OnDateEdited(const QDate& date) {
    const QSignalBlocker block(days_);
    days_->setValue(static_cast<int>(today_.daysTo(date)));
}

void DueDateFrame::OnDaysEdited(int days) {
    const QSignalBlocker block(date_);
    date_->setDate(today_.addDays(days));
}

void DueDateFrame::OpenPicker() {
    picker_->SetValue(date_->date());
    pickerChange_ =
        connect(picker_, &frmCalendar::Change, this, [this] { SetDate(picker_->Value()); });
    pickerClose_ = connect(picker_, &frmCalendar::CloseUp, this, &DueDateFrame::ClosePicker);
    picker_->DropDown(date_);
}

void DueDateFrame::ClosePicker() {
    SetDate(picker_->Value());
    disconnect(pickerChange_);
    disconnect(pickerClose_);
    toggle_->setChecked(false);
}

} // namespace qvs
