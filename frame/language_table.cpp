#include "frame/language_table.h"

#include <QFile>
#include <QStringDecoder>

namespace qvs {

namespace {

// Far above any real table (the built-in ones are some tens of kilobytes):
// a dropped file this large is not a table.
constexpr qint64 kMaxTableSize = 4 * 1024 * 1024;

QString Unescape(QStringView raw) {
    QString text;
    text.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c != u'\\' || i + 1 == raw.size()) {
            text += c;
            continue;
        }
        const QChar next = raw[++i];
        switch (next.unicode()) {
        case 'n':
            text += u'\n';
            break;
        case 'r':
            text += u'\r';
            break;
        case 't':
            text += u'\t';
            break;
        case '\\':
            text += u'\\';
            break;
        default: // not an escape: both characters stand
            text += c;
            text += next;
        }
    }
    return text;
}

QString Problem(int lineNo, const char* what) {
    return QStringLiteral("line %1: %2").arg(lineNo).arg(QLatin1String(what));
}

void ParseLine(QStringView line, int lineNo, LanguageTable& table) {
    const qsizetype tab = line.indexOf(u'\t');
    if (tab < 0) {
        table.problems << Problem(lineNo, "no TAB after the id");
        return;
    }
    const QStringView key = line.left(tab).trimmed();
    const QString text = Unescape(line.mid(tab + 1));
    if (key == u"@name") {
        table.name = text;
        return;
    }
    if (key == u"@locale") {
        table.locale = text.trimmed();
        return;
    }
    bool ok = false;
    const int id = key.toInt(&ok);
    if (!ok) {
        table.problems << Problem(lineNo, "the id is not a number");
        return;
    }
    if (table.texts.contains(id)) table.problems << Problem(lineNo, "the id is repeated");
    table.texts.insert(id, text);
}

} // namespace

LanguageTable ParseLanguageTable(const QByteArray& data) {
    LanguageTable table;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString content = decoder(data);
    if (decoder.hasError()) table.problems << QStringLiteral("the file is not valid UTF-8");
    int lineNo = 0;
    for (QStringView line : QStringView(content).split(u'\n')) {
        ++lineNo;
        if (line.endsWith(u'\r')) line.chop(1);
        if (lineNo == 1 && line.startsWith(QChar(0xFEFF))) line = line.mid(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#')) continue;
        ParseLine(line, lineNo, table);
    }
    return table;
}

std::optional<LanguageTable> ReadLanguageTable(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxTableSize) return std::nullopt;
    const QByteArray data = file.read(kMaxTableSize + 1);
    if (data.size() > kMaxTableSize) return std::nullopt;
    LanguageTable table = ParseLanguageTable(data);
    if (table.texts.isEmpty()) return std::nullopt;
    return table;
}

} // namespace qvs
