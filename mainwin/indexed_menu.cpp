#include "mainwin/indexed_menu.h"

#include "frame/image_list.h"
#include "frame/language.h"

#include <QAction>
#include <QMenu>

namespace qvs {

QString TextIdCaption(int textId) {
    return QString::number(textId);
}

QAction* IndexedMenu::Add(int index, int textId, const char* icon, MenuKey key, unsigned flags,
                          const std::function<void()>& onChoose) {
    QAction* action = nullptr;
    if (textId == 0) {
        action = menu_->addSeparator();
    } else if (flags & kSubmenu) {
        action = menu_->addMenu(TextIdCaption(textId))->menuAction();
    } else {
        action = menu_->addAction(TextIdCaption(textId));
        action->setShortcut(key.Sequence());
        action->setCheckable(flags & kCheckable);
        action->setChecked(flags & kChecked);
        QObject::connect(action, &QAction::triggered, menu_, onChoose);
    }
    if (size_t(index) >= items_.size()) {
        items_.resize(size_t(index) + 1, nullptr);
        icons_.resize(size_t(index) + 1);
    }
    items_[size_t(index)] = action;
    if (icon) icons_[size_t(index)] = QLatin1String(icon);
    return action;
}

QAction* IndexedMenu::Item(int index) const {
    return index >= 0 && size_t(index) < items_.size() ? items_[size_t(index)] : nullptr;
}

QMenu* IndexedMenu::SubMenu(int index) const {
    const QAction* item = Item(index);
    return item ? item->menu() : nullptr;
}

void IndexedMenu::SetEnabled(int index, bool enabled) const {
    if (QAction* item = Item(index)) item->setEnabled(enabled);
}

void IndexedMenu::SetVisible(int index, bool visible) const {
    if (QAction* item = Item(index)) item->setVisible(visible);
}

void IndexedMenu::SetText(int index, int textId) const {
    if (QAction* item = Item(index)) item->setText(GetLocalText(textId));
}

void IndexedMenu::ShowIcons(bool on) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i] && !icons_[i].isEmpty())
            items_[i]->setIcon(on ? KeyIcon(icons_[i]) : QIcon());
}

} // namespace qvs
