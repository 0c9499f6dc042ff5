// Moving data files to the authenticated format: the offer made once per
// legacy file on opening, the format choice of "Save as…", and the offer
// made when the legacy format cannot hold a text.
#pragma once

#include "store/pw.h"

#include <QString>

namespace qvs {

// After path was opened in QVS: when it is in the legacy format and was not
// offered before, asks whether to protect it with the new format, and on yes
// saves it so (a copy of the legacy file is kept in the backup folder). The
// answer is remembered for the file.
void OfferNewFormat(const QString& path);
// Converts the open file path to the new format now (a copy of the legacy
// file is kept in the backup folder); what goes wrong is shown. True when
// it was converted.
bool ConvertToNewFormat(const QString& path);

// After path was opened in QVS with key settings below what a new file
// gets: says so and offers to raise them in the change-password window.
void OfferStrongerKey(const QString& path);

// For "Save as…": makes the store write format (asking for the password
// again where the older format needs it). False when the user cancelled.
bool UseSaveFormat(ardeko::FileFormat format);

// After a legacy save failed on a text the format cannot hold: offers the
// new format. True when the user took it (the store then writes it).
bool OfferNewFormatForText();

} // namespace qvs
