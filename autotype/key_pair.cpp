#include "autotype/key_pair.h"

#include "frame/options.h"
#include "store/codepage.h"

namespace qvs {

namespace {
constexpr int kCustomKey = -1;
}

std::int16_t PackKeyPair(int before, int after) {
    before &= 0xFF;
    after &= 0xFF;
    if (before < 128) return static_cast<std::int16_t>(before << 8 | after);
    return static_cast<std::int16_t>(~((before & 0x7F) << 8 | after));
}

KeyPair UnpackKeyPair(std::int16_t value) {
    int bits = value;
    int highBit = 0;
    if (bits < 0) {
        bits = ~bits & 0xFFFF;
        highBit = 0x80;
    }
    return {((bits >> 8) & 0xFF) | highBit, bits & 0xFF};
}

int KeyCodeByte(int code, const QString& customText) {
    if (code != kCustomKey) return code & 0xFF;
    if (customText.isEmpty()) return 0;
    // The first character as the data file's code page stores it.
    const QString first = customText.left(customText.front().isHighSurrogate() ? 2 : 1);
    const ardeko::Cp1252Result r = ardeko::Utf8ToCp1252(first.toStdString());
    if (r.badCodePoint || r.bytes.empty()) return 0;
    return static_cast<unsigned char>(r.bytes.front());
}

std::int16_t DefaultKeyVal() {
    const Options& o = Opt();
    return PackKeyPair(KeyCodeByte(o.KeyBeforeCB, o.KeyBefore),
                       KeyCodeByte(o.KeyAfterCB, o.KeyAfter));
}

} // namespace qvs
