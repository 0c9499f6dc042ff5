#include "tray/frm_sys_tray.h"

#include "app/program_start.h"
#include "tray/stand_alone_menu.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMenu>

namespace qvs {

namespace {

// The captions of the menu's first level, for the tests' event log.
QString Captions(const QMenu& menu) {
    QStringList captions;
    for (const QAction* action : menu.actions())
        if (!action->isSeparator()) captions << action->text();
    return captions.join(u'|');
}

} // namespace

frmSysTray::frmSysTray(QObject* parent) : QObject(parent) {
    connect(&tray_, &QSystemTrayIcon::activated, this, &frmSysTray::HandleActivation);
    connect(&tray_, &QSystemTrayIcon::messageClicked, this, &frmSysTray::MessageClicked);
}

frmSysTray::~frmSysTray() {
    tray_.hide();
}

void frmSysTray::Initialise() {
    const QString description = QCoreApplication::applicationName();
    tip_.clear();
    SetToolTip(description);
    tray_.setIcon(icon_);
    tray_.show();
}

bool frmSysTray::TrayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void frmSysTray::SetToolTip(const QString& tip) {
    const QString cut = tip.left(kMaxTipLength);
    if (cut == tip_) return;
    tip_ = cut;
    tray_.setToolTip(tip_);
}

void frmSysTray::SetIconHandle(const QIcon& icon) {
    if (icon.cacheKey() == icon_.cacheKey()) return;
    icon_ = icon;
    tray_.setIcon(icon_);
}

int frmSysTray::AddMenuItem(const QString& caption, const QString& key, bool isDefault,
                            const QVariant& data, int parent, int icon, bool checked,
                            bool enabled) {
    return menu_.Add(MenuItem(caption, key)
                         .Under(parent)
                         .WithIcon(icon)
                         .AsDefault(isDefault)
                         .Checked(checked)
                         .Enabled(enabled)
                         .WithData(data));
}

int frmSysTray::EnableMenuItem(int index, bool enabled) {
    return menu_.SetEnabled(index, enabled) ? 0 : kErrBadItem;
}

int frmSysTray::Resolve(const QVariant& item) const {
    const auto type = item.typeId();
    if (type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::Short ||
        type == QMetaType::UInt || type == QMetaType::Double)
        return item.toInt();
    return menu_.IndexOf(item.toString());
}

int frmSysTray::RemoveMenuItem(const QVariant& item) {
    return menu_.Remove(Resolve(item)) ? 0 : kErrBadItem;
}

int frmSysTray::SetDefault(const QVariant& item, bool isDefault) {
    return menu_.SetDefault(Resolve(item), isDefault) ? 0 : kErrBadItem;
}

std::optional<bool> frmSysTray::Default(const QVariant& item) const {
    const int index = Resolve(item);
    if (!menu_.IsValid(index)) return std::nullopt;
    return menu_.IsDefault(index);
}

int frmSysTray::SetChecked(const QVariant& item, bool checked) {
    return menu_.SetChecked(Resolve(item), checked) ? 0 : kErrBadItem;
}

std::optional<bool> frmSysTray::Checked(const QVariant& item) const {
    const int index = Resolve(item);
    if (!menu_.IsValid(index)) return std::nullopt;
    return menu_.IsChecked(index);
}

void frmSysTray::ShowMenu() {
    emit MenuAboutToShow();
    const QPoint at = QCursor::pos();
    PrepareTrayMenu(*menu_.Menu());
    LogTestEvent("menu-shown", Captions(*menu_.Menu()));
    showing_ = true;
    const int index = runner_ ? runner_(menu_, at) : menu_.Exec(at);
    showing_ = false;
    // The choice is read before MenuClosed may rebuild the menu.
    const bool chosen = menu_.IsValid(index);
    const QString key = chosen ? menu_.Key(index) : QString();
    emit MenuClosed();
    if (chosen) emit MenuClick(index, key);
}

bool frmSysTray::ShowMessage(const QString& title, const QString& text) {
    if (!tray_.isVisible() || !TrayAvailable()) return false;
    tray_.showMessage(title, text, icon_);
    return true;
}

void frmSysTray::HandleActivation(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Context:
        emit SysTrayMouseDown(kRightButton);
        emit SysTrayMouseUp(kRightButton);
        break;
    case QSystemTrayIcon::Trigger:
        emit SysTrayMouseDown(kLeftButton);
        emit SysTrayMouseUp(kLeftButton);
        break;
    case QSystemTrayIcon::MiddleClick:
        emit SysTrayMouseDown(kMiddleButton);
        emit SysTrayMouseUp(kMiddleButton);
        break;
    case QSystemTrayIcon::DoubleClick:
        emit SysTrayDoubleClick(kLeftButton);
        break;
    default:
        break;
    }
}

} // namespace qvs
