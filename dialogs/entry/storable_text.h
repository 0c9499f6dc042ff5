// Whether a text typed into a dialog fits the data file: every character in
// the file's code page, and no longer than a text field may be. Dialogs check
// when the user confirms, so nothing unsavable reaches the store.
#pragma once

#include "frame/store_reason.h"

#include <QString>

#include <optional>

namespace qvs {

struct TextProblem {
    enum class Kind { Unstorable, TooLong };
    Kind kind;
    QString character; // the first unstorable character (Unstorable)
    int length = 0;    // characters as stored (TooLong)
};

std::optional<TextProblem> CheckStorable(const QString& text);

// Tells the user that the field (named by its caption, with any "&" and
// trailing ":" dropped) cannot be saved. A secret field's character is never
// shown.
void ShowRefusedText(const QString& fieldCaption, const TextProblem& problem, bool secret);

} // namespace qvs
