// The file chooser: the open/new/recent window shown modally. Returns the
// chosen path, the new-file marker (text 30002) for a new file, or "" when
// cancelled.
#pragma once

#include <QString>

namespace qvs {

QString ChooseDataFile(bool showNew);

} // namespace qvs
