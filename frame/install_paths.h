// Where an installed program finds the data it ships beside its binary:
// <prefix>/bin/qvs reads <prefix>/share/quorvane. The built-in copies
// compiled into the program remain the fallback.
#pragma once

#include <QString>

namespace qvs {

// "<folder of the executable>/../share/quorvane" when it exists, else "".
QString InstalledDataFolder();

} // namespace qvs
