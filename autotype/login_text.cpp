#include "autotype/login_text.h"

#include "autotype/key_pair.h"
#include "frame/one_time_code.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "store/codepage.h"

namespace qvs {

namespace {

constexpr int kTabCode = 8;
constexpr int kEnterCode = 13;
constexpr int kCustomCode = -1;

// Characters with a meaning of their own in the key-sending syntax.
const QString kSyntaxCharacters = QStringLiteral("+^%~(){}[]");

void AddText(KeyStrokes& strokes, const QString& text) {
    if (!text.isEmpty()) strokes.push_back({KeyStroke::Kind::Text, text});
}

void AddKey(KeyStrokes& strokes, int code, const QString& customText) {
    const KeyStrokes key = KeyStrokesOf(code, customText);
    strokes.insert(strokes.end(), key.begin(), key.end());
}

QString Braced(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (kSyntaxCharacters.contains(c))
            out += QLatin1Char('{') + c + QLatin1Char('}');
        else
            out += c;
    }
    return out;
}

} // namespace

KeyStrokes KeyStrokesOf(int code, const QString& customText) {
    if (code == kTabCode) return {{KeyStroke::Kind::Tab, {}}};
    if (code == kEnterCode) return {{KeyStroke::Kind::Enter, {}}};
    KeyStrokes strokes;
    if (code == kCustomCode) AddText(strokes, customText);
    return strokes;
}

QString KeyString(const KeyStrokes& strokes) {
    QString out;
    for (const KeyStroke& s : strokes) {
        switch (s.kind) {
        case KeyStroke::Kind::Tab:
            out += QLatin1String("{TAB}");
            break;
        case KeyStroke::Kind::Enter:
            out += QLatin1String("{ENTER}");
            break;
        case KeyStroke::Kind::Text:
            out += Braced(s.text);
            break;
        }
    }
    return out;
}

QString KeyStrokeText(int code, const QString& customText) {
    return KeyString(KeyStrokesOf(code, customText));
}

QString KeyByteText(int byte) {
    byte &= 0xFF;
    if (byte == 0) return {};
    if (byte == kTabCode) return QStringLiteral("\t");
    const std::string raw(1, static_cast<char>(byte));
    return QString::fromStdString(ardeko::Cp1252ToUtf8(raw));
}

QString EntryText(ardeko::E_GetPw field, const QString& service) {
    return QString::fromStdString(Store().GetText(field, service.toStdString()));
}

QString BuildClipboardLogin(const QString& service) {
    bool ok = false;
    const int value = EntryText(ardeko::E_GetPw::KeyVal, service).toInt(&ok);
    const KeyPair keys = UnpackKeyPair(static_cast<std::int16_t>(ok ? value : 0));
    return EntryText(ardeko::E_GetPw::User, service) + KeyByteText(keys.before) +
           EntryText(ardeko::E_GetPw::pword, service) + KeyByteText(keys.after);
}

KeyStrokes BuildTypedLogin(const QString& service) {
    const Options& o = Opt();
    KeyStrokes strokes;
    if (o.LoginFields != kLoginPasswordCode) {
        AddText(strokes, EntryText(ardeko::E_GetPw::User, service));
        AddKey(strokes, o.KeyBeforeCB, o.KeyBefore);
    }
    AddText(strokes, EntryText(ardeko::E_GetPw::pword, service));
    // Made now, so that it is the code of the moment it is typed.
    const QString code = o.LoginFields == kLoginUserPassword ? QString() : CurrentCodeText(service);
    if (!code.isEmpty()) {
        AddKey(strokes, o.KeyBeforeCB, o.KeyBefore);
        AddText(strokes, code);
    }
    AddKey(strokes, o.KeyAfterCB, o.KeyAfter);
    return strokes;
}

} // namespace qvs
