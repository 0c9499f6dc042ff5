// Qt's own texts (file dialogs, standard buttons, print dialogs) in the
// language the user chose for ours.
#pragma once

#include <QString>

namespace qvs {

// Installs Qt's translation for locale ("it", "en", ...) from Qt's
// translations folder, replacing the one installed before. English, an
// empty locale or a missing translation leave Qt's built-in English texts.
// Month and day names (the date picker's) follow locale too; an empty one
// gives the system's back. False only when a translation exists but could
// not be loaded.
bool UseQtTranslations(const QString& locale);

} // namespace qvs
