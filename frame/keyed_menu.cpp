#include "frame/keyed_menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>

namespace qvs {

QString NameCaption(const QString& name) {
    QString caption = name;
    caption.replace(QLatin1Char('&'), QLatin1String("&&"));
    caption.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return caption;
}

KeyedMenu::KeyedMenu(QObject* parent) : QObject(parent), root_(std::make_unique<QMenu>()) {
    root_->installEventFilter(this);
}

// The actions and submenus belong to the root menu's object tree.
KeyedMenu::~KeyedMenu() = default;

void KeyedMenu::SetImageList(std::optional<ImageList> list) {
    images_ = std::move(list);
    for (Entry& entry : entries_)
        ApplyIcon(entry);
}

int KeyedMenu::Add(const MenuItem& item) {
    if (item.parent != 0 && (!IsValid(item.parent) || At(item.parent).action->isSeparator()))
        return 0;
    QMenu* menu = MenuFor(item.parent);
    const bool separator = item.key.isEmpty();
    // Some styles draw a separator's text as a heading: it gets none.
    Entry entry{item, new QAction(separator ? QString() : item.caption, menu), nullptr};
    QAction* action = entry.action;
    action->setSeparator(separator);
    action->setEnabled(item.enabled);
    action->setCheckable(item.checked);
    action->setChecked(item.checked);
    action->setShortcut(item.shortcut);
    ApplyIcon(entry);
    ApplyDefault(entry);
    if (!item.toolTip.isEmpty()) {
        action->setToolTip(item.toolTip);
        menu->setToolTipsVisible(true);
    }
    connect(action, &QAction::triggered, this, [this, action] { OnTriggered(action); });
    menu->addAction(action);
    entries_.push_back(std::move(entry));
    return Count();
}

bool KeyedMenu::Remove(int index) {
    if (!IsValid(index)) return false;
    const int parent = At(index).item.parent;
    const std::vector<bool> removed = Subtree(index);
    // Children first, so that no submenu is deleted under a live child.
    for (int i = Count(); i >= index; --i)
        if (removed[size_t(i)]) {
            DeleteObjects(At(i));
            entries_.erase(entries_.begin() + (i - 1));
        }
    Renumber(removed);
    DropEmptySubmenu(parent);
    return true;
}

void KeyedMenu::Clear() {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        DeleteObjects(*it);
    entries_.clear();
}

int KeyedMenu::IndexOf(const QString& key) const {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const Entry& e) { return e.item.key == key; });
    return it == entries_.end() ? 0 : static_cast<int>(it - entries_.begin()) + 1;
}

QString KeyedMenu::Key(int index) const {
    return IsValid(index) ? At(index).item.key : QString();
}

QString KeyedMenu::ToolTip(int index) const {
    return IsValid(index) ? At(index).item.toolTip : QString();
}

QString KeyedMenu::Caption(int index) const {
    return IsValid(index) ? At(index).item.caption : QString();
}

QVariant KeyedMenu::Data(int index) const {
    return IsValid(index) ? At(index).item.data : QVariant();
}

bool KeyedMenu::SetEnabled(int index, bool enabled) {
    if (!IsValid(index)) return false;
    At(index).item.enabled = enabled;
    At(index).action->setEnabled(enabled);
    return true;
}

bool KeyedMenu::IsEnabled(int index) const {
    return IsValid(index) && At(index).item.enabled;
}

bool KeyedMenu::SetDefault(int index, bool isDefault) {
    if (!IsValid(index)) return false;
    At(index).item.isDefault = isDefault;
    ApplyDefault(At(index));
    return true;
}

bool KeyedMenu::IsDefault(int index) const {
    return IsValid(index) && At(index).item.isDefault;
}

bool KeyedMenu::SetChecked(int index, bool checked) {
    if (!IsValid(index)) return false;
    At(index).item.checked = checked;
    At(index).action->setCheckable(checked);
    At(index).action->setChecked(checked);
    return true;
}

bool KeyedMenu::IsChecked(int index) const {
    return IsValid(index) && At(index).item.checked;
}

int KeyedMenu::Exec(const QPoint& globalPos) {
    return IndexOfAction(root_->exec(globalPos));
}

QMenu* KeyedMenu::MenuFor(int parent) {
    if (parent == 0) return root_.get();
    Entry& holder = At(parent);
    if (!holder.submenu) {
        holder.submenu = new QMenu(holder.item.caption, root_.get());
        holder.action->setMenu(holder.submenu);
    }
    return holder.submenu;
}

// Marks (by index, slot 0 unused) the item and everything under it. Children
// always follow their parent, so one forward pass finds them all.
std::vector<bool> KeyedMenu::Subtree(int index) const {
    std::vector<bool> marked(entries_.size() + 1, false);
    marked[size_t(index)] = true;
    for (int i = index + 1; i <= Count(); ++i)
        marked[size_t(i)] = marked[size_t(At(i).item.parent)];
    return marked;
}

// Moves the parent links of the remaining items up past the removed ones.
void KeyedMenu::Renumber(const std::vector<bool>& removed) {
    for (Entry& entry : entries_) {
        const int p = entry.item.parent;
        entry.item.parent =
            p - static_cast<int>(std::count(removed.begin(), removed.begin() + p, true));
    }
}

// A submenu left without children would open empty.
void KeyedMenu::DropEmptySubmenu(int parent) {
    if (parent == 0 || std::any_of(entries_.begin(), entries_.end(),
                                   [&](const Entry& e) { return e.item.parent == parent; }))
        return;
    Entry& holder = At(parent);
    holder.action->setMenu(static_cast<QMenu*>(nullptr));
    delete holder.submenu;
    holder.submenu = nullptr;
}

void KeyedMenu::ApplyIcon(Entry& entry) const {
    entry.action->setIcon(images_ ? images_->Icon(entry.item.icon) : QIcon());
}

void KeyedMenu::ApplyDefault(const Entry& entry) {
    QFont font = entry.action->font();
    font.setBold(entry.item.isDefault);
    entry.action->setFont(font);
}

void KeyedMenu::DeleteObjects(Entry& entry) {
    delete entry.submenu;
    delete entry.action;
    entry.submenu = nullptr;
    entry.action = nullptr;
}

int KeyedMenu::IndexOfAction(const QAction* action) const {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const Entry& e) { return e.action == action; });
    return action && it != entries_.end() ? static_cast<int>(it - entries_.begin()) + 1 : 0;
}

bool KeyedMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched != root_.get() || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const Entry& entry : entries_) {
        if (entry.item.parent != 0 || entry.item.shortcut.isEmpty() ||
            entry.item.shortcut != pressed || !entry.action->isEnabled())
            continue;
        // Chosen as Return chooses it, so that exec() answers it.
        root_->setActiveAction(entry.action);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(root_.get(), &enter);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void KeyedMenu::OnTriggered(QAction* action) {
    const int index = IndexOfAction(action);
    if (index == 0) return;
    // A menu choice does not toggle the mark: only SetChecked does.
    action->setChecked(At(index).item.checked);
    emit Triggered(index, At(index).item.key);
}

} // namespace qvs
