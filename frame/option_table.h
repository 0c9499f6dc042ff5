// Stored name, type and place in Options of every option, in the order the
// programs read them. Defaults are the members' values in DefaultOptions().
#pragma once

#include "frame/options.h"
#include "frame/program_identity.h"

#include <QVariant>

#include <span>
#include <variant>

namespace qvs {

class SettingsStore;

using OptionMember = std::variant<int Options::*, bool Options::*, QString Options::*>;

struct OptionKey {
    const char* name;
    OptionMember member;
};

// The program's own options (without "Language" and the recent files).
std::span<const OptionKey> ProgramOptionKeys(ProgramKind program);
std::span<const OptionKey> ReportOptionKeys();
// QVS's browser options, stored in the group kBrowserOptionGroup.
inline constexpr char kBrowserOptionGroup[] = "Browser";
std::span<const OptionKey> BrowserOptionKeys();

QVariant OptionValue(const Options& options, const OptionKey& key);

// Reads one option; a missing value leaves the member as it is.
void ReadOption(const SettingsStore& store, const OptionKey& key, Options& options);
void WriteOption(SettingsStore& store, const OptionKey& key, const Options& options);

// Writes one of the running program's options from Opt() at once, for a
// choice made in a window that should not wait for the program's end; false
// when it could not be written.
bool SaveOption(const OptionMember& member);

} // namespace qvs
