#include "frame/lock_request.h"

#include <QAction>
#include <QWidget>

namespace qvs {

namespace {

std::function<void()>& LockRequest() {
    static std::function<void()> lock;
    return lock;
}

} // namespace

QKeySequence LockKey() {
    return QKeySequence(Qt::CTRL | Qt::Key_L);
}

void SetLockRequest(std::function<void()> lock) {
    LockRequest() = std::move(lock);
}

void RequestLock() {
    // A copy: locking may close the window whose key called it.
    const std::function<void()> lock = LockRequest();
    if (lock) lock();
}

void AddLockShortcut(QWidget& window) {
    auto* action = new QAction(&window);
    action->setObjectName(QStringLiteral("actLock"));
    action->setShortcut(LockKey());
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, [] { RequestLock(); });
    window.addAction(action);
}

} // namespace qvs
