#include "autotype/send_keys.h"

#include "autotype/text_ids.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/program_identity.h"

#include <QGuiApplication>
#include <QRegularExpression>

namespace qvs {

namespace {

KeyStroke TextStroke(const QString& text) {
    return {KeyStroke::Kind::Text, text};
}

x11::Stroke ToX11(const KeyStroke& stroke) {
    x11::Stroke out;
    switch (stroke.kind) {
    case KeyStroke::Kind::Tab:
        out.kind = x11::Stroke::Kind::Tab;
        break;
    case KeyStroke::Kind::Enter:
        out.kind = x11::Stroke::Kind::Enter;
        break;
    case KeyStroke::Kind::Text: {
        const QList<uint> codes = stroke.text.toUcs4();
        out.text.assign(codes.begin(), codes.end());
        break;
    }
    }
    return out;
}

} // namespace

KeyStrokes ParseKeyString(const QString& keys) {
    static const QRegularExpression special(QStringLiteral("\\{(TAB|ENTER)\\}"),
                                            QRegularExpression::CaseInsensitiveOption);
    KeyStrokes strokes;
    qsizetype from = 0;
    for (auto it = special.globalMatch(keys); it.hasNext();) {
        const auto match = it.next();
        if (match.capturedStart() > from)
            strokes.push_back(TextStroke(keys.mid(from, match.capturedStart() - from)));
        const bool tab = match.captured(1).compare(QLatin1String("TAB"), Qt::CaseInsensitive) == 0;
        strokes.push_back({tab ? KeyStroke::Kind::Tab : KeyStroke::Kind::Enter, {}});
        from = match.capturedEnd();
    }
    if (from < keys.size()) strokes.push_back(TextStroke(keys.mid(from)));
    return strokes;
}

x11::TypeResult TypeInto(std::uint64_t window, const KeyStrokes& strokes) {
    std::vector<x11::Stroke> x11Strokes;
    x11Strokes.reserve(strokes.size());
    for (const KeyStroke& stroke : strokes)
        x11Strokes.push_back(ToX11(stroke));
    return x11::ActivateAndType(window, x11Strokes);
}

void ReportTypingResult(x11::TypeResult result) {
    int textId = 0;
    switch (result) {
    case x11::TypeResult::Typed:
        return;
    case x11::TypeResult::NoDisplay:
        textId = TypingSupportTextId(TypingSupport::None);
        break;
    case x11::TypeResult::NoWindow:
        textId = text::kNoWindowToType;
        break;
    case x11::TypeResult::NotActivated:
        textId = text::kTypingNotActivated;
        break;
    case x11::TypeResult::FocusMoved:
        textId = text::kTypingFocusMoved;
        break;
    }
    ShowMessage(GetLocalText(textId), vbExclamation, ProgramName());
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
        return text::kTypingXWaylandOnly;
    case TypingSupport::None:
        return text::kNoTypingDisplay;
    }
    return 0;
}

} // namespace qvs
