#include "mainwin/indexed_menu.h"

#include "frame/image_list.h"
#include "frame/language.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

namespace qvs {

QString TextIdCaption(int textId) {
    return QString::number(textId);
}

IndexedMenu::IndexedMenu(QMenu* menu, std::span<const IndexedItem> items,
                         const std::function<void(int)>& onChoose)
    : menu_(menu) {
    int last = -1;
    for (const IndexedItem& item : items)
        last = std::max(last, item.index);
    items_.assign(size_t(last + 1), nullptr);
    icons_.assign(size_t(last + 1), QString());
    for (const IndexedItem& item : items) {
        QAction* action = nullptr;
        if (item.textId == 0) {
            action = menu->addSeparator();
        } else if (item.submenu) {
            action = menu->addMenu(TextIdCaption(item.textId))->menuAction();
        } else {
            action = menu->addAction(TextIdCaption(item.textId));
            action->setShortcut(item.plainKey ? QKeySequence(item.plainKey)
                                              : QKeySequence(item.key));
            const int index = item.index;
            QObject::connect(action, &QAction::triggered, menu,
                             [onChoose, index] { onChoose(index); });
        }
        items_[size_t(item.index)] = action;
        if (item.icon) icons_[size_t(item.index)] = QLatin1String(item.icon);
    }
}

QAction* IndexedMenu::Item(int index) const {
    return index >= 0 && index < Count() ? items_[size_t(index)] : nullptr;
}

QMenu* IndexedMenu::SubMenu(int index) const {
    const QAction* item = Item(index);
    return item ? item->menu() : nullptr;
}

int IndexedMenu::IndexOf(const QAction* action) const {
    if (!action) return -1;
    const auto it = std::find(items_.begin(), items_.end(), action);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
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
