// The login of an entry as one text: user name, a key between, password, a
// key after. Pasted as a whole (keys from the entry's own key pair) or typed
// into another program (keys from the settings).
#pragma once

#include "store/records.h"

#include <QString>

#include <vector>

namespace qvs {

// One step of typing: literal text, or a named key.
struct KeyStroke {
    enum class Kind { Text, Tab, Enter };
    Kind kind = Kind::Text;
    QString text; // only for Text
    bool operator==(const KeyStroke&) const = default;
};
using KeyStrokes = std::vector<KeyStroke>;

// The steps of a key setting: Tab for 8, Enter for 13, the custom text for
// -1, nothing otherwise.
KeyStrokes KeyStrokesOf(int code, const QString& customText);

// Steps in the key-sending syntax: "{TAB}", "{ENTER}", and literal text with
// the syntax's own characters braced ("{{}", "{+}" ...), so that a password
// such as "a{ENTER}" is typed as it stands rather than pressing Enter.
QString KeyString(const KeyStrokes& strokes);

// KeyString of KeyStrokesOf: "{TAB}", "{ENTER}", the custom text, or "".
QString KeyStrokeText(int code, const QString& customText);

// The text a key byte of an entry's key pair stands for on the clipboard:
// a tab for 8 (what the key choosers store for Tab), otherwise the character
// of that code in the data file's code page; "" for 0.
QString KeyByteText(int byte);

// One field of the open store's entry service; "" when there is none.
QString EntryText(ardeko::E_GetPw field, const QString& service);

// User name, the entry's before key, password, its after key; missing
// entries and fields give empty texts.
QString BuildClipboardLogin(const QString& service);

// User name, the KeyBeforeCB/KeyBefore key, password, the KeyAfterCB/KeyAfter
// key, as steps for typing into another window. The setting "LoginFields"
// can add the one-time code of this moment after the password (the key
// before goes between them too) or leave out the user name; an entry without
// a code types no code and no key for it.
KeyStrokes BuildTypedLogin(const QString& service);

} // namespace qvs
