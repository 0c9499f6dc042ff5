#include "frame/search_fold.h"

#include <algorithm>

namespace qvs {

namespace {

bool IsAscii(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool IsMark(QChar c) {
    switch (c.category()) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

// Letters that stay themselves under decomposition although a reader sees a
// plain letter with a stroke or a ligature. Checked after case folding.
QStringView PlainSpelling(QChar c) {
    switch (c.unicode()) {
    case u'\u00DF': // sharp s
        return u"ss";
    case u'\u00E6': // ae ligature
        return u"ae";
    case u'\u00F8': // o with stroke
        return u"o";
    case u'\u0111': // d with stroke
        return u"d";
    case u'\u0142': // l with stroke
        return u"l";
    case u'\u0153': // oe ligature
        return u"oe";
    default:
        return {};
    }
}

void LowerAscii(QString& text) {
    for (QChar& c : text)
        if (c.unicode() >= u'A' && c.unicode() <= u'Z') c = QChar(c.unicode() + 32);
}

} // namespace

QString FoldForSearch(QString text) {
    if (IsAscii(text)) {
        LowerAscii(text);
        return text;
    }
    const QString folded = text.normalized(QString::NormalizationForm_KD).toCaseFolded();
    QString out;
    out.reserve(folded.size());
    for (QChar c : folded) {
        if (IsMark(c)) continue;
        const QStringView plain = PlainSpelling(c);
        if (plain.isEmpty())
            out.append(c);
        else
            out.append(plain);
    }
    return out;
}

} // namespace qvs
