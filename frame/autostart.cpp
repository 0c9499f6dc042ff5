#include "frame/autostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace qvs {

QString AutostartFilePath(const QString& name) {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config + QStringLiteral("/autostart/") + name + QStringLiteral(".desktop");
}

QString DesktopExecArgument(const QString& argument) {
    // Inside double quotes '"', '`', '$' and '\' are escaped with '\'; a
    // literal '%' is "%%" (field codes). The value is a string, whose own
    // escapes a reader undoes first, so every '\' is doubled last.
    QString quoted;
    quoted.reserve(argument.size() + 8);
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
        if (c == u'%') quoted += u'%';
        quoted += c;
    }
    QString value = QStringLiteral("\"");
    for (const QChar c : quoted) {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\t')
            value += QStringLiteral("\\t");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else
            value += c;
    }
    return value + u'"';
}

bool WriteAutostart(const QString& name, const QString& program) {
    if (program.isEmpty()) return false;
    const QString path = AutostartFilePath(name);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=%1\n"
                                         "Exec=%2\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(name, DesktopExecArgument(program));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = entry.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool RemoveAutostart(const QString& name) {
    const QString path = AutostartFilePath(name);
    return !QFileInfo::exists(path) || QFile::remove(path);
}

bool SetAutostart(const QString& name, bool enabled) {
    if (!enabled) return RemoveAutostart(name);
    return WriteAutostart(name, QCoreApplication::applicationFilePath());
}

} // namespace qvs
