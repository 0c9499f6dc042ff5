#include "autotype/send_keys.h"

#include "autotype/text_ids.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/program_identity.h"

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

std::vector<x11::Stroke> ToX11Strokes(const KeyStrokes& strokes) {
    std::vector<x11::Stroke> x11Strokes;
    x11Strokes.reserve(strokes.size());
    for (const KeyStroke& stroke : strokes)
        x11Strokes.push_back(ToX11(stroke));
    return x11Strokes;
}

x11::TypeResult TypeInto(std::uint64_t window, const KeyStrokes& strokes) {
    return x11::ActivateAndType(window, ToX11Strokes(strokes));
}

void StartTyping(std::uint64_t window, const KeyStrokes& strokes, TypingDone done) {
    TypingBackend& backend = CurrentTypingBackend();
    const QString name = backend.Name();
    qCInfo(lcTyping) << "typing" << strokes.size() << "strokes through" << name
                     << (window == kFocusedWindow ? "into the focused window" : "");
    backend.Type(window, strokes, [name, done = std::move(done)](const TypingOutcome& outcome) {
        qCInfo(lcTyping) << "typing through" << name
                         << "ended:" << static_cast<int>(outcome.result);
        if (done) done(outcome);
    });
}

void ReportTypingResult(TypeResult result) {
    ReportTypingOutcome({result, 0});
}

void ReportTypingOutcome(const TypingOutcome& outcome) {
    int textId = outcome.textId;
    if (textId == 0) switch (outcome.result) {
        case TypeResult::Typed:
            return;
        case TypeResult::NoDisplay:
            textId = TypingSupportTextId(TypingSupport::None);
            break;
        case TypeResult::NoWindow:
            textId = text::kNoWindowToType;
            break;
        case TypeResult::NotActivated:
            textId = text::kTypingNotActivated;
            break;
        case TypeResult::FocusMoved:
            textId = text::kTypingFocusMoved;
            break;
        case TypeResult::Failed:
            textId = text::kTypingFailed;
            break;
        }
    ShowMessage(GetLocalText(textId), vbExclamation, ProgramName());
}

TypingSupport CurrentTypingSupport() {
    return CurrentTypingBackend().Support();
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
