#include "frame/options.h"

#include "frame/autostart.h"
#include "frame/option_table.h"
#include "frame/program_identity.h"
#include "frame/settings_store.h"

#include <QDir>
#include <QStandardPaths>

namespace qvs {

namespace {

const QString kLanguageKey = QStringLiteral("Language");
const QString kPathKey = QStringLiteral("Path");
const QString kFileNameKey = QStringLiteral("FileName");

bool IsLite() {
    return CurrentProgram() == ProgramKind::QVSLite;
}

// A hand-edited or damaged value must not leave the recent-files list
// without a bound; QVSLite's length is fixed.
void NormaliseHistorySize(Options& options) {
    options.HistorySize =
        IsLite() ? kLiteHistorySize : qBound(kHistorySizeMin, options.HistorySize, kHistorySizeMax);
}

void ReadKeys(const SettingsStore& store, std::span<const OptionKey> keys, Options& options) {
    for (const OptionKey& key : keys)
        ReadOption(store, key, options);
}

void WriteKeys(SettingsStore& store, std::span<const OptionKey> keys, const Options& options) {
    for (const OptionKey& key : keys)
        WriteOption(store, key, options);
}

void WriteRecent(SettingsStore& store, const Options& options) {
    store.WriteText(kPathKey, options.Path);
    options.Recent.Save(store, options.HistorySize);
}

} // namespace

Options& Opt() {
    static Options options = DefaultOptions();
    return options;
}

QString DefaultDataFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists()) return documents;
    return QDir::homePath();
}

Options DefaultOptions() {
    Options options;
    options.Path = DefaultDataFolder();
    options.RPExpDir = options.Path;
    if (CurrentProgram() == ProgramKind::QVSLite) options.HistorySize = kLiteHistorySize;
    return options;
}

bool StartsWithSystem(const Options& options) {
    return IsLite() ? options.AutoStart : options.StartupType == kStartWithSystem;
}

void LoadOptions() {
    Options& options = Opt();
    options = DefaultOptions();
    const SettingsStore store;
    options.Language = store.ReadText(kLanguageKey, options.Language);
    ReadKeys(store, ProgramOptionKeys(CurrentProgram()), options);
    if (!IsLite()) {
        ReadKeys(store, ReportOptionKeys(), options);
        ReadKeys(SettingsStore(QLatin1String(kBrowserOptionGroup)), BrowserOptionKeys(), options);
    }
    NormaliseHistorySize(options);
    options.PwHistoryLimit = qBound(0, options.PwHistoryLimit, kPwHistoryMax);
    options.Recent.Load(store, options.HistorySize);
    options.FileName = store.ReadText(kFileNameKey, QString());
}

void LoadReportOptions() {
    const SettingsStore store;
    ReadKeys(store, ReportOptionKeys(), Opt());
}

bool SaveOptions(const QString& openFileName) {
    Options& options = Opt();
    NormaliseHistorySize(options);
    options.FileName = openFileName;
    bool written = false;
    {
        SettingsStore store;
        WriteKeys(store, ProgramOptionKeys(CurrentProgram()), options);
        if (!IsLite()) WriteKeys(store, ReportOptionKeys(), options);
        WriteRecent(store, options);
        store.WriteText(kFileNameKey, options.FileName);
        written = store.Sync();
    }
    if (!IsLite()) {
        SettingsStore browser{QLatin1String(kBrowserOptionGroup)};
        WriteKeys(browser, BrowserOptionKeys(), options);
        written = browser.Sync() && written;
    }
    const bool autostart = SetAutostart(ProgramName(), StartsWithSystem(options));
    return written && autostart;
}

bool SaveReportOptions() {
    SettingsStore store;
    WriteKeys(store, ReportOptionKeys(), Opt());
    return store.Sync();
}

bool SaveRecentFiles() {
    NormaliseHistorySize(Opt());
    SettingsStore store;
    WriteRecent(store, Opt());
    return store.Sync();
}

bool SaveLanguage(const QString& code) {
    SettingsStore store;
    store.WriteText(kLanguageKey, code);
    return store.Sync();
}

} // namespace qvs
