#include "app/command_line.h"

#include "app/file_path.h"

namespace qvs {

QString FileNameFromCommandLine(const QString& commandLine) {
    QString name = commandLine.trimmed();
    if (name.startsWith(QLatin1Char('"'))) name.remove(0, 1);
    if (name.endsWith(QLatin1Char('"'))) name.chop(1);
    return name;
}

QString HandOverCommandLine(const QString& commandLine) {
    const QString name = CleanFilePath(FileNameFromCommandLine(commandLine));
    if (name.isEmpty()) return {};
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString CommandLineFromArguments(const QStringList& arguments) {
    return arguments.mid(1).join(QLatin1Char(' '));
}

} // namespace qvs
