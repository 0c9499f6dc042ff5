// The version of each data file this machine last loaded or saved, kept in
// the private data folder: the base three-way merges start from when the
// file comes back changed by another machine, also after a restart. The
// file's own bytes are kept, so the copy is protected as the file is.
#pragma once

#include "store/pw.h"

#include <QString>

#include <memory>

namespace qvs {

// Keeps the file's bytes as they are on disk now as its common version.
void KeepCommonVersion(const QString& file);

// The kept version of file, opened with what holder holds (its key or
// password); nullptr when there is none or it does not open so.
std::unique_ptr<ardeko::clsPW> LoadCommonVersion(const QString& file, const ardeko::clsPW& holder);

// Where file's common version is kept (one per file path).
QString CommonVersionPath(const QString& file);

} // namespace qvs
