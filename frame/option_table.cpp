#include "frame/option_table.h"

#include "frame/settings_store.h"

#include <array>

namespace qvs {

namespace {

using O = Options;

// Read first by both programs.
constexpr std::array kTrayKeys{
    OptionKey{"SysTrayPWDefault", &O::SysTrayPWDefault},
    OptionKey{"SysTrayShow", &O::SysTrayShow},
    OptionKey{"SecurityLevel", &O::SecurityLevel},
    OptionKey{"ViewMenuIcon", &O::ViewMenuIcon},
    OptionKey{"KeyBeforeCB", &O::KeyBeforeCB},
    OptionKey{"KeyAfterCB", &O::KeyAfterCB},
    OptionKey{"KeyAfter", &O::KeyAfter},
    OptionKey{"KeyBefore", &O::KeyBefore},
    OptionKey{"ClipboardClearSecs", &O::ClipboardClearSecs},
    OptionKey{"LockIdleMinutes", &O::LockIdleMinutes},
    OptionKey{"LockOnSessionLock", &O::LockOnSessionLock},
    OptionKey{"RemindDue", &O::RemindDue},
    OptionKey{"LoginFields", &O::LoginFields},
};

constexpr std::array kMainKeys{
    OptionKey{"StartupType", &O::StartupType},
    OptionKey{"Path", &O::Path},
    OptionKey{"AutoSaveWin", &O::AutoSaveWin},
    OptionKey{"AutoSaveData", &O::AutoSaveData},
    OptionKey{"AutoLoadData", &O::AutoLoadData},
    OptionKey{"AutoLoadWin", &O::AutoLoadWin},
    OptionKey{"ViewWizard", &O::ViewWizard},
    OptionKey{"ViewFileName", &O::ViewFileName},
    OptionKey{"ViewTips", &O::ViewTips},
    OptionKey{"ViewSplash", &O::ViewSplash},
    OptionKey{"ViewExpChg", &O::ViewExpChg},
    OptionKey{"GTSAfterURL", &O::GTSAfterURL},
    OptionKey{"BackupFile", &O::BackupFile},
    OptionKey{"BackupHistory", &O::BackupHistory},
    OptionKey{"HistorySize", &O::HistorySize},
    OptionKey{"ShowCatSub", &O::ShowCatSub},
    OptionKey{"ExpirationDays", &O::ExpirationDays},
    OptionKey{"ChangeDays", &O::ChangeDays},
    OptionKey{"ExpirationNotify", &O::ExpirationNotify},
    OptionKey{"ChangeNotify", &O::ChangeNotify},
    OptionKey{"ShowNotes", &O::ShowNotes},
    OptionKey{"AutoCheck", &O::AutoCheck},
    OptionKey{"DefaultGridAction", &O::DefaultGridAction},
    OptionKey{"SysTrayDef", &O::SysTrayDef},
    OptionKey{"PwHistoryLimit", &O::PwHistoryLimit},
    OptionKey{"BreachedList", &O::BreachedList},
};

// QVSLite keeps its last used folder in "Path" as well, for its "load" command.
constexpr std::array kLiteKeys{
    OptionKey{"FileToLoad", &O::FileToLoad},
    OptionKey{"AutoStart", &O::AutoStart},
    OptionKey{"LoadLastOpen", &O::LoadLastOpen},
    OptionKey{"HistorySize", &O::HistorySize},
    OptionKey{"Path", &O::Path},
};

constexpr std::array kReportKeys{
    OptionKey{"RPGroup", &O::RPGroup},       OptionKey{"RPSort", &O::RPSort},
    OptionKey{"RPPType", &O::RPPType},       OptionKey{"RPSplit", &O::RPSplit},
    OptionKey{"RPEmptyCat", &O::RPEmptyCat}, OptionKey{"RPEmptySub", &O::RPEmptySub},
    OptionKey{"RPHeader", &O::RPHeader},     OptionKey{"RPNotes", &O::RPNotes},
    OptionKey{"RPExpDir", &O::RPExpDir},     OptionKey{"RPExpFile", &O::RPExpFile},
    OptionKey{"RPFields", &O::RPFields},     OptionKey{"RPPrinter", &O::RPPrinter},
    OptionKey{"RPDelim", &O::RPDelim},       OptionKey{"RPCsvSafe", &O::RPCsvSafe},
};

constexpr std::array kBrowserKeys{
    OptionKey{"Browsers", &O::BrowserHosts},
    OptionKey{"UnlockOnRequest", &O::BrowserUnlockOnRequest},
    OptionKey{"NeverExpired", &O::BrowserNeverExpired},
};

template <std::size_t A, std::size_t B>
constexpr std::array<OptionKey, A + B> Join(const std::array<OptionKey, A>& first,
                                            const std::array<OptionKey, B>& second) {
    std::array<OptionKey, A + B> joined{};
    for (std::size_t i = 0; i < A; ++i)
        joined[i] = first[i];
    for (std::size_t i = 0; i < B; ++i)
        joined[A + i] = second[i];
    return joined;
}

constexpr auto kQvsKeys = Join(kTrayKeys, kMainKeys);
constexpr auto kQvsLiteKeys = Join(kTrayKeys, kLiteKeys);

} // namespace

std::span<const OptionKey> ProgramOptionKeys(ProgramKind program) {
    if (program == ProgramKind::QVSLite) return kQvsLiteKeys;
    return kQvsKeys;
}

std::span<const OptionKey> ReportOptionKeys() {
    return kReportKeys;
}

std::span<const OptionKey> BrowserOptionKeys() {
    return kBrowserKeys;
}

QVariant OptionValue(const Options& options, const OptionKey& key) {
    return std::visit([&options](auto member) { return QVariant::fromValue(options.*member); },
                      key.member);
}

void ReadOption(const SettingsStore& store, const OptionKey& key, Options& options) {
    const QString name = QString::fromLatin1(key.name);
    std::visit(
        [&](auto member) {
            auto& value = options.*member;
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, int>)
                value = store.ReadNumber(name, value);
            else if constexpr (std::is_same_v<T, bool>)
                value = store.ReadFlag(name, value);
            else
                value = store.ReadText(name, value);
        },
        key.member);
}

void WriteOption(SettingsStore& store, const OptionKey& key, const Options& options) {
    const QString name = QString::fromLatin1(key.name);
    std::visit(
        [&](auto member) {
            const auto& value = options.*member;
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, int>)
                store.WriteNumber(name, value);
            else if constexpr (std::is_same_v<T, bool>)
                store.WriteFlag(name, value);
            else
                store.WriteText(name, value);
        },
        key.member);
}

bool SaveOption(const OptionMember& member) {
    SettingsStore store;
    for (const OptionKey& key : ProgramOptionKeys(CurrentProgram()))
        if (key.member == member) WriteOption(store, key, Opt());
    return store.Sync();
}

} // namespace qvs
