// One spelling per file: the paths the program keeps and compares are
// absolute and clean, whatever folder the program was started in.
#pragma once

#include <QString>

namespace qvs {

// path made absolute against the current folder, without "." and ".." parts
// or doubled separators; "" stays "".
QString CleanFilePath(const QString& path);

} // namespace qvs
