// The Lock command as every window offers it. The program's start-up sets
// what locking does (the lock lives above this layer); a window that shows
// the file's contents gets the same key for it as the main window.
#pragma once

#include <QKeySequence>

#include <functional>

class QWidget;

namespace qvs {

// The key of the Lock command in every window and menu.
QKeySequence LockKey();

// What RequestLock does; empty (the default) does nothing.
void SetLockRequest(std::function<void()> lock);
void RequestLock();

// The Lock key in window, while it has the focus.
void AddLockShortcut(QWidget& window);

} // namespace qvs
