// A legacy file another program wrote cannot tell a wrong password: a typo
// may open it with garbled texts. QVS says so on every open, and before
// anything writes such a file (a save gives it a trailer, a conversion
// another format) it asks for the password again.
#pragma once

#include <QString>

namespace qvs {

// Says that the file just opened at path cannot tell a wrong password
// (when the open store is such a file).
void WarnUncheckedPassword(const QString& path);

// Whether the open store may be written: its password was checked on
// opening, or the user gave it again now and it is the same. Tells the user
// when the two differ; false also when the user cancelled.
bool ConfirmUncheckedPassword();

} // namespace qvs
