#include "frame/language.h"

#include "frame/install_paths.h"
#include "frame/language_table.h"
#include "frame/program_identity.h"
#include "frame/qt_translations.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

namespace qvs {

namespace {

struct LanguageState {
    std::optional<LanguageTable> table;
    QString code;
    std::optional<QStringList> testFolders;
};

LanguageState& State() {
    static LanguageState state;
    return state;
}

QString UserLanguageFolder(const QString& program) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tarnwick/") + program + QStringLiteral("/lang");
}

// A code names a file: letters, digits, "-" and "_" only, so a setting can
// never lead the lookup out of the language folders.
std::optional<QString> NormalisedCode(const QString& code) {
    static const QRegularExpression valid(QStringLiteral("^[A-Za-z0-9_-]{1,16}$"));
    const QString trimmed = code.trimmed();
    if (!valid.match(trimmed).hasMatch()) return std::nullopt;
    return trimmed.toUpper();
}

// Dropped files may be named in any letter case.
QStringList TableFilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Readable, QDir::Name);
}

std::optional<LanguageTable> FindTable(const QString& code) {
    for (const QString& folder : LanguageSearchPaths()) {
        for (const QString& file : TableFilesIn(folder)) {
            if (file.toUpper() != code) continue;
            if (auto table = ReadLanguageTable(folder + u'/' + file)) return table;
        }
    }
    return std::nullopt;
}

bool TryLoad(const QString& code) {
    const auto normalised = NormalisedCode(code);
    if (!normalised) return false;
    auto table = FindTable(*normalised);
    if (!table) return false;
    State().table = std::move(table);
    State().code = *normalised;
    UseQtTranslations(State().table->locale);
    return true;
}

} // namespace

QStringList LanguageSearchPaths() {
    if (State().testFolders) return *State().testFolders;
    QStringList folders;
    if (ProgramName() != QLatin1String("QVS")) folders << UserLanguageFolder(ProgramName());
    folders << UserLanguageFolder(QStringLiteral("QVS"));
    if (const QString installed = InstalledDataFolder(); !installed.isEmpty())
        folders << installed + QStringLiteral("/lang");
    folders << QStringLiteral(":/lang");
    return folders;
}

void SetLanguageSearchPathsForTesting(std::optional<QStringList> folders) {
    State().testFolders = std::move(folders);
}

bool LoadLanguage(QString& code) {
    State().table.reset();
    State().code.clear();
    if (TryLoad(code)) {
        code = State().code;
        return true;
    }
    code = QStringLiteral("ENG");
    return TryLoad(code);
}

bool CanLoadLanguage(const QString& code) {
    const auto normalised = NormalisedCode(code);
    return normalised && FindTable(*normalised).has_value();
}

QString CurrentLanguage() {
    return State().code;
}

QStringList AvailableLanguages() {
    QStringList codes;
    for (const QString& folder : LanguageSearchPaths()) {
        for (const QString& file : TableFilesIn(folder)) {
            const auto code = NormalisedCode(file);
            if (code && !codes.contains(*code) && FindTable(*code)) codes << *code;
        }
    }
    codes.sort();
    return codes;
}

QString LanguageDisplayName(const QString& code) {
    const auto normalised = NormalisedCode(code);
    const auto table = normalised ? FindTable(*normalised) : std::nullopt;
    return table && !table->name.isEmpty() ? table->name : code;
}

QString GetLocalText(int id) {
    const auto& table = State().table;
    if (!table) return QLatin1String(kNoLocalData);
    const auto it = table->texts.constFind(id);
    return it != table->texts.constEnd() ? *it : QStringLiteral("[%1]").arg(id);
}

QString LocalTextWith(int id, const QString& value) {
    QString text = GetLocalText(id);
    const qsizetype at = text.indexOf(QLatin1String("%s"));
    return at < 0 ? text : text.replace(at, 2, value);
}

} // namespace qvs
