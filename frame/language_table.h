// The text format of a language table: UTF-8, one text per line.
//
//   # a comment (the whole line)
//   @name<TAB>English          the language's own name, for lists
//   10<TAB>OK                  a text id, one TAB, the text
//
// The text runs to the end of the line, blanks included; "\n", "\r", "\t" and
// "\\" stand for a line break, a carriage return, a tab and a backslash.
// Blank lines are skipped; a file may start with a byte-order mark and use
// either line ending.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace qvs {

struct LanguageTable {
    QHash<int, QString> texts;
    QString name;         // from "@name"; empty when absent
    QString locale;       // from "@locale" ("it"): Qt's own texts follow it
    QStringList problems; // "line N: ..." for every line that was not used as it stands
};

// Lines that cannot be read are skipped and reported in problems; a repeated
// id keeps its last text.
LanguageTable ParseLanguageTable(const QByteArray& data);

// Reads a table file; nullopt when it cannot be read, is larger than a table
// can sensibly be, or holds no text at all.
std::optional<LanguageTable> ReadLanguageTable(const QString& path);

} // namespace qvs
