#include "frame/settings_store.h"

#include "frame/program_identity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace qvs {

namespace {
const QString kVersionKey = QStringLiteral("SettingsVersion");

// The settings name the user's data files, recent folders and reminders:
// their folder is for the user alone, also one an earlier version made 0755.
void MakeFolderPrivate(const QString& folder) {
    const QByteArray name = QFile::encodeName(folder);
    QDir().mkpath(QFileInfo(folder).path());
    ::mkdir(name.constData(), 0700);
    struct stat st {};
    if (::lstat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
        (st.st_mode & 077) != 0)
        ::chmod(name.constData(), st.st_mode & 0700);
}
} // namespace

QString SettingsFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           QString::fromLatin1(kSettingsOrganisation) + u'/' + ProgramName() +
           QStringLiteral(".conf");
}

// Named explicitly: Qt's own user-scope INI file would end in ".ini". A file
// of its own also keeps out any organisation-wide or system-wide values.
SettingsStore::SettingsStore(const QString& group)
    : settings_(SettingsFilePath(), QSettings::IniFormat) {
    if (!group.isEmpty()) settings_.beginGroup(group);
}

SettingsStore::~SettingsStore() {
    Sync();
}

QStringList SettingsStore::Names() const {
    return settings_.childKeys();
}

QVariant SettingsStore::Raw(const QString& name) const {
    if (settings_.contains(name)) return settings_.value(name);
    for (const QString& key : settings_.childKeys())
        if (key.compare(name, Qt::CaseInsensitive) == 0) return settings_.value(key);
    return QVariant();
}

bool SettingsStore::Contains(const QString& name) const {
    return Raw(name).isValid();
}

QString SettingsStore::ReadText(const QString& name, const QString& def) const {
    const QVariant value = Raw(name);
    if (!value.isValid()) return def;
    // An unquoted comma in a hand-edited file turns the value into a list.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u',');
    return value.toString();
}

int SettingsStore::ReadNumber(const QString& name, int def) const {
    bool ok = false;
    const int number = ReadText(name, QString()).trimmed().toInt(&ok);
    return ok ? number : def;
}

bool SettingsStore::ReadFlag(const QString& name, bool def) const {
    const QString text = ReadText(name, QString()).trimmed();
    if (text.compare(u"true", Qt::CaseInsensitive) == 0) return true;
    if (text.compare(u"false", Qt::CaseInsensitive) == 0) return false;
    bool ok = false;
    const int number = text.toInt(&ok); // older stores kept flags as 0 / -1
    return ok ? number != 0 : def;
}

void SettingsStore::Remove(const QString& name) {
    for (const QString& key : settings_.childKeys())
        if (key.compare(name, Qt::CaseInsensitive) == 0) settings_.remove(key);
}

void SettingsStore::Write(const QString& name, const QVariant& value) {
    Remove(name);
    settings_.setValue(name, value);
    written_ = true;
}

void SettingsStore::WriteText(const QString& name, const QString& value) {
    Write(name, value);
}

void SettingsStore::WriteNumber(const QString& name, int value) {
    Write(name, value);
}

void SettingsStore::WriteFlag(const QString& name, bool value) {
    Write(name, value);
}

bool SettingsStore::Sync() {
    if (written_) {
        MakeFolderPrivate(QFileInfo(settings_.fileName()).path());
        const QString group = settings_.group();
        if (!group.isEmpty()) settings_.endGroup();
        settings_.setValue(kVersionKey, QString::fromLatin1(kSettingsVersion));
        if (!group.isEmpty()) settings_.beginGroup(group);
        written_ = false;
    }
    settings_.sync();
    return settings_.status() == QSettings::NoError;
}

} // namespace qvs
