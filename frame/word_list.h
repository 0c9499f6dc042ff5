// The passphrase word lists shipped with the program.
#pragma once

#include <QString>

#include <string>
#include <vector>

namespace qvs {

// The shipped word list of a language ("ENG", "ITA"); English when the
// language has none.
std::vector<std::string> WordList(const QString& language);

} // namespace qvs
