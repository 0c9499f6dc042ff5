// Per-user named values of the running program (texts, numbers, flags),
// kept in $XDG_CONFIG_HOME/Tarnwick/<program>.conf (~/.config/...), INI text. Names are matched
// regardless of letter case, as the programs have always written some of them in two spellings
// ("FileName" / "Filename"). Make one object per group of reads or writes and let it go afterwards.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace qvs {

inline constexpr char kSettingsOrganisation[] = "Tarnwick";
inline constexpr char kSettingsVersion[] = "1.0";

QString SettingsFilePath();

class SettingsStore {
public:
    // group: a section of the file (e.g. a window's layout); empty for the
    // program's general values.
    explicit SettingsStore(const QString& group = QString());
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // A missing or unreadable value gives the default; reads never fail.
    QString ReadText(const QString& name, const QString& def) const;
    int ReadNumber(const QString& name, int def) const;
    bool ReadFlag(const QString& name, bool def) const;
    bool Contains(const QString& name) const;

    // Writing replaces every spelling of the name by this one.
    void WriteText(const QString& name, const QString& value);
    void WriteNumber(const QString& name, int value);
    void WriteFlag(const QString& name, bool value);
    void Remove(const QString& name);

    QStringList Names() const;

    // Writes pending changes; false when the file could not be written.
    bool Sync();

private:
    QVariant Raw(const QString& name) const;
    void Write(const QString& name, const QVariant& value);

    QSettings settings_;
    bool written_ = false;
};

} // namespace qvs
