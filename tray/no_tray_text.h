// Why the program cannot live in the tray here, in the user's language: the
// given text, and on GNOME, which shows no tray of its own, how to get one.
#pragma once

#include <QString>

namespace qvs {

// textId: the program's own message (QVS stays in its window, QVSLite ends).
QString NoTrayText(int textId);

// Whether the desktop named by XDG_CURRENT_DESKTOP (a colon-separated list,
// "ubuntu:GNOME") is GNOME.
bool IsGnomeDesktop(const QString& currentDesktop);

} // namespace qvs
