// The data file named on a command line: the program's own, or one handed
// over by a second copy of the program.
#pragma once

#include <QString>
#include <QStringList>

namespace qvs {

// The whole text is one file name: blanks at both ends are dropped, then
// one leading and one trailing double quote. Nothing else is parsed, so a
// name with blanks needs no quotes.
QString FileNameFromCommandLine(const QString& commandLine);

// What a second copy hands to the first: the file it names made absolute
// against the second copy's own folder (the first copy may run in any
// other), in double quotes; "" when it names none.
QString HandOverCommandLine(const QString& commandLine);

// The command line as one text: the arguments after the program's own
// path, joined by blanks ("" when there are none).
QString CommandLineFromArguments(const QStringList& arguments);

} // namespace qvs
