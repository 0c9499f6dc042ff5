// Typing a login into the window the user was working in, from Qt code.
#pragma once

#include "autotype/login_text.h"
#include "autotype/typing_backend.h"
#include "autotype/x11_typing.h"

#include <QString>

#include <cstdint>

namespace qvs {

// Splits a key string into strokes: "{TAB}" and "{ENTER}" (any letter case)
// are the Tab and Enter keys; everything else is typed as it stands.
KeyStrokes ParseKeyString(const QString& keys);

// The strokes as the typing code below Qt takes them (code points).
std::vector<x11::Stroke> ToX11Strokes(const KeyStrokes& strokes);

// Brings window back and types the strokes into it with X11's XTest.
x11::TypeResult TypeInto(std::uint64_t window, const KeyStrokes& strokes);

// Types through the session's back-end (CurrentTypingBackend), writing the
// back-end's name and the outcome (never the text) to the typing log.
void StartTyping(std::uint64_t window, const KeyStrokes& strokes, TypingDone done);
// How callers type; tests put recorders in its place.
using Typist = std::function<void(std::uint64_t, const KeyStrokes&, TypingDone)>;

// Tells the user why nothing was typed, or why typing stopped halfway;
// nothing for Typed.
void ReportTypingResult(TypeResult result);
void ReportTypingOutcome(const TypingOutcome& outcome);

TypingSupport CurrentTypingSupport();
// The text that explains a limited or missing support (0 for Full), for the
// tool tips of the typing commands.
int TypingSupportTextId(TypingSupport support);

} // namespace qvs
