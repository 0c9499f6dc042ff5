// The health report of a data file's passwords: weak ones, ones that more
// than one entry uses, entries expired or due for a change, passwords not
// changed for over a year and, given a list of breached passwords, those
// found in it. Findings name entries, never passwords; the analysis runs
// on this machine alone.
#pragma once

#include "store/pw.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ardeko {

class BreachedList;

// In the order the report lists them, gravest first.
enum class HealthIssue {
    Breached,    // the password is in the breached list
    Weak,        // the strength measure puts it below fair
    Reused,      // more than one entry has it
    Expired,     // the expiry date has come
    ExpiresSoon, // the expiry date is near and the entry asks to be warned
    ChangeDue,   // the date for a change has come
    ChangeSoon,  // that date is near and the entry asks to be warned
    Old,         // the password was set more than a year ago
};

struct HealthFinding {
    std::string service;
    HealthIssue issue = HealthIssue::Weak;
    double bits = 0;             // Weak: the strength measure's estimate
    std::size_t group = 0;       // Reused: 1, 2, ... one number per shared password
    std::size_t sharedBy = 0;    // Reused: entries using that password
    VbDate date = 0;             // due kinds: the date; Old: when the password was set
    std::uint64_t timesSeen = 0; // Breached: how often the list has seen it
};

struct HealthReport {
    // By issue; within one, the weakest, most often seen, shared group by
    // group, earliest date first, then by service.
    std::vector<HealthFinding> findings;
    std::size_t entries = 0; // entries looked at
    bool breachedChecked = false;
};

inline constexpr double kOldPasswordDays = 365;

struct HealthOptions {
    // Looked up when given; its failure to read fails the analysis.
    BreachedList* breached = nullptr;
    // Told now and then how many distinct passwords are done of how many;
    // answering false stops the analysis.
    std::function<bool(std::size_t done, std::size_t total)> progress;
};

enum class HealthResult { Done, ListUnreadable, Stopped };

// Analyses every entry of store against the store's today. On ListUnreadable
// the list's ErrNum and ErrDescr say why.
HealthResult AnalysePasswords(const clsPW& store, const HealthOptions& options,
                              HealthReport& report);

// When the entry's current password was set: when it replaced the newest
// earlier password; without one, when the entry was made in a format-2 file
// (which keeps every change of password) and when it was last changed in a
// legacy file (which keeps none, so the password is at least that old).
VbDate PasswordSetOn(const T_Password& p, FileFormat format);

} // namespace ardeko
