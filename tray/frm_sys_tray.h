// The tray icon with its pop-up menu, shared by both programs. It knows
// nothing of passwords: the tray controller fills the menu and reacts to
// the events. Items are reached by 1-based index or by key.
#pragma once

#include "frame/image_list.h"
#include "frame/keyed_menu.h"

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QSystemTrayIcon>
#include <QVariant>

#include <functional>
#include <optional>

namespace qvs {

class frmSysTray : public QObject {
    Q_OBJECT
public:
    // What an operation on a missing item answers ("subscript out of range").
    static constexpr int kErrBadItem = 9;
    // The tip holds at most this many characters, as the tray's fixed field.
    static constexpr int kMaxTipLength = 63;
    // The buttons the mouse events name.
    static constexpr int kLeftButton = 1, kRightButton = 2, kMiddleButton = 4;

    explicit frmSysTray(QObject* parent = nullptr);
    ~frmSysTray() override;

    // Shows the icon with the program's description as its tip.
    void Initialise();
    // Whether a tray host is there to show the icon at all.
    static bool TrayAvailable();

    QString ToolTip() const { return tip_; }
    void SetToolTip(const QString& tip);
    QIcon IconHandle() const { return icon_; }
    void SetIconHandle(const QIcon& icon);
    void SetImageList(std::optional<ImageList> list) { menu_.SetImageList(std::move(list)); }
    KeyedMenu& PopupMenuObject() { return menu_; }

    // The new item's index (0 when parent is not an item); a default item
    // gets the menu's default mark.
    int AddMenuItem(const QString& caption, const QString& key, bool isDefault = false,
                    const QVariant& data = {}, int parent = 0, int icon = -1, bool checked = false,
                    bool enabled = true);
    // 0, or kErrBadItem for an index outside 1..count.
    int EnableMenuItem(int index, bool enabled);
    // item: an index (a number) or a key (any other value). 0 or kErrBadItem.
    int RemoveMenuItem(const QVariant& item);
    int SetDefault(const QVariant& item, bool isDefault);
    std::optional<bool> Default(const QVariant& item) const;
    int SetChecked(const QVariant& item, bool checked);
    std::optional<bool> Checked(const QVariant& item) const;
    void ClearMenu() { menu_.Clear(); }

    // Shows the menu at the mouse, raises MenuClosed when it is gone, then
    // MenuClick for a chosen item (its index as the menu was when shown).
    void ShowMenu();
    // Whether ShowMenu's menu is open now.
    bool MenuShowing() const { return showing_; }
    // A message from the icon (the desktop's notification, or a balloon by
    // the icon); false when no icon is shown to carry it. Clicking it
    // raises MessageClicked.
    bool ShowMessage(const QString& title, const QString& text);
    // Tests and hosts that cannot show a blocking menu replace the show.
    void SetMenuRunnerForTesting(std::function<int(KeyedMenu&, const QPoint&)> runner) {
        runner_ = std::move(runner);
    }

    // The tray's activation, as the mouse events the controller expects:
    // a right click (context) is button 2 pressed and released, a left
    // click button 1, a middle click button 4, a double-click the
    // double-click of button 1.
    void HandleActivation(QSystemTrayIcon::ActivationReason reason);

signals:
    void SysTrayMouseDown(int button);
    void SysTrayMouseUp(int button);
    void SysTrayMouseMove();
    void SysTrayDoubleClick(int button);
    void MenuClick(int index, const QString& key);
    // Just before the menu opens, while the user's window is still active.
    void MenuAboutToShow();
    // The menu shown by ShowMenu has closed, chosen item or not.
    void MenuClosed();
    void MessageClicked();

private:
    int Resolve(const QVariant& item) const;

    QSystemTrayIcon tray_;
    KeyedMenu menu_;
    QString tip_;
    QIcon icon_;
    std::function<int(KeyedMenu&, const QPoint&)> runner_;
    bool showing_ = false;
};

} // namespace qvs
