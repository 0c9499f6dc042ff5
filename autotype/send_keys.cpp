#include "autotype/send_keys.h"

#include <QGuiApplication>
#include <QRegularExpression>

namespace qvs {

namespace {

x11::Stroke TextStroke(const QString& text) {
    x11::Stroke stroke;
    const QList<uint> codes = text.toUcs4();
    stroke.text.assign(codes.begin(), codes.end());
    return stroke;
}

void AppendKey(std::vector<x11::Stroke>& strokes, int code, const QString& custom);

} // namespace

std::vector<x11::Stroke> LoginStrokes(const QString& user, const QString& password, int beforeCode,
                                      const QString& beforeText, int afterCode,
                                      const QString& afterText) {
    std::vector<x11::Stroke> strokes;
    if (!user.isEmpty()) strokes.push_back(TextStroke(user));
    AppendKey(strokes, beforeCode, beforeText);
    if (!password.isEmpty()) strokes.push_back(TextStroke(password));
    AppendKey(strokes, afterCode, afterText);
    return strokes;
}

std::vector<x11::Stroke> ParseKeyString(const QString& keys) {
    static const QRegularExpression special(QStringLiteral("\\{(TAB|ENTER)\\}"),
                                            QRegularExpression::CaseInsensitiveOption);
    std::vector<x11::Stroke> strokes;
    qsizetype from = 0;
    for (auto it = special.globalMatch(keys); it.hasNext();) {
        const auto match = it.next();
        if (match.capturedStart() > from)
            strokes.push_back(TextStroke(keys.mid(from, match.capturedStart() - from)));
        x11::Stroke key;
        key.kind = match.captured(1).compare(QLatin1String("TAB"), Qt::CaseInsensitive) == 0
                       ? x11::Stroke::Kind::Tab
                       : x11::Stroke::Kind::Enter;
        strokes.push_back(key);
        from = match.capturedEnd();
    }
    if (from < keys.size()) strokes.push_back(TextStroke(keys.mid(from)));
    return strokes;
}

TypingSupport CurrentTypingSupport() {
    if (!x11::Available()) return TypingSupport::None;
    if (QGuiApplication::platformName() == QLatin1String("wayland") ||
        qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland"))
        return TypingSupport::XWaylandOnly;
    return TypingSupport::Full;
}

int TypingSupportTextId(TypingSupport support) {
    switch (support) {
    case TypingSupport::Full:
        return 0;
    case TypingSupport::XWaylandOnly:
        return 31801;
    case TypingSupport::None:
        return 31800;
    }
    return 0;
}

namespace {

void AppendKey(std::vector<x11::Stroke>& strokes, int code, const QString& custom) {
    x11::Stroke key;
    switch (code) {
    case 8:
        key.kind = x11::Stroke::Kind::Tab;
        break;
    case 13:
        key.kind = x11::Stroke::Kind::Enter;
        break;
    case -1:
        for (x11::Stroke& stroke : ParseKeyString(custom))
            strokes.push_back(std::move(stroke));
        return;
    default:
        return;
    }
    strokes.push_back(key);
}

} // namespace

} // namespace qvs
