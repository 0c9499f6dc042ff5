#include "dialogs/entry/storable_text.h"

#include "frame/message_box.h"
#include "frame/program_state.h"
#include "store/codepage.h"
#include "store/legacy/legacy_file.h"

namespace qvs {

std::optional<TextProblem> CheckStorable(const QString& text) {
    // A format-2 file holds any text; the legacy format only its code page.
    if (Store().Format() == ardeko::FileFormat::Two) return std::nullopt;
    const ardeko::Cp1252Result r = ardeko::Utf8ToCp1252(text.toStdString());
    if (r.badCodePoint) {
        const char32_t cp = *r.badCodePoint;
        return TextProblem{TextProblem::Kind::Unstorable, QString::fromUcs4(&cp, 1), 0};
    }
    if (r.bytes.size() > ardeko::kMaxTextLength)
        return TextProblem{TextProblem::Kind::TooLong, QString(), static_cast<int>(r.bytes.size())};
    return std::nullopt;
}

void ShowRefusedText(const QString& fieldCaption, const TextProblem& problem, bool secret) {
    const bool tooLong = problem.kind == TextProblem::Kind::TooLong;
    ShowMessage(RefusedTextMessage(FieldName(fieldCaption), secret ? QString() : problem.character,
                                   tooLong ? problem.length : 0),
                vbExclamation);
}

} // namespace qvs
