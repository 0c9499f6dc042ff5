// The password of the open data file: changing it on request, and offering
// one when a file without a password is saved, so that a file made in the
// program does not stay readable by anyone by oversight.
#pragma once

#include <QString>

namespace qvs {

// Asks for the old password and the new one twice, and gives the store the
// new one; the file keeps it once saved. True when the password changed.
// stronger: the window offers stronger key settings ticked.
bool ChangeFilePassword(bool stronger = false);

// Called before the open store is written to path. When the store has no
// password and the user was not asked about path yet in this run, asks
// whether to set one and, on Yes, asks for it. No leaves the file as it is.
void OfferFilePassword(const QString& path);

// Whether saving offers a password (on at start). Tests that are about
// something else turn it off.
void SetFilePasswordOffer(bool on);

} // namespace qvs
