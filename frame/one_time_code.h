// One-time codes of entries as the windows and the tray show them: the clock
// (replaceable, so that a test can fix the time) and the language text for
// each reason a secret is refused.
#pragma once

#include "store/totp.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qvs {

// Seconds since 1970 for the codes; an empty function restores the real clock.
using CodeClock = std::function<std::int64_t()>;
void SetCodeClock(CodeClock clock);
std::int64_t CodeClockNow();

// The code now of a secret as stored (an address); none for "" or a stored
// secret that does not parse.
std::optional<ardeko::TotpNow> CurrentCode(const std::string& stored);
// The same for the open file's entry service; "" when there is none.
QString CurrentCodeText(const QString& service);
// Whether the open file's entry service holds a code.
bool EntryHasCode(const QString& service);

// Tells that the entry service has no one-time code (to copy or type).
void ShowNoCodeMessage(const QString& service);

// The language text saying why a secret was refused; "" for None.
QString TotpErrorMessage(ardeko::TotpError error);

} // namespace qvs
