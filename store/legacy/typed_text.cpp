#include "store/legacy/typed_text.h"

#include <algorithm>
#include <cmath>

namespace ardeko {

namespace {

enum CharClass : std::size_t {
    kUntypeable,
    kLineBreakOrTab,
    kBlank,
    kDigit,
    kUpper,
    kLower,
    kSign,
    kHighSign, // 0x80-0xBF
    kAccented, // 0xC0-0xFF
    kClasses,
};

// Members of each class, to share its chance among them.
constexpr double kClassSize[kClasses] = {35, 3, 1, 10, 26, 26, 32, 59, 64};

// Texts seldom differ in more than a few bytes; with one unseen class
// counted once, a class the agreed text lacks stays possible but unlikely.
constexpr double kUnseenWeight = 1.0;

CharClass ClassOf(unsigned b) {
    if (b == '\t' || b == '\r' || b == '\n') return kLineBreakOrTab;
    if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
        return kUntypeable;
    if (b == ' ') return kBlank;
    if (b >= '0' && b <= '9') return kDigit;
    if (b >= 'A' && b <= 'Z') return kUpper;
    if (b >= 'a' && b <= 'z') return kLower;
    if (b < 0x80) return kSign;
    return b < 0xC0 ? kHighSign : kAccented;
}

} // namespace

void CountBytes(std::string_view text, ByteCounts& counts) {
    for (char ch : text)
        ++counts[static_cast<unsigned char>(ch)];
}

std::size_t UntypeableCount(const ByteCounts& counts) {
    std::size_t n = 0;
    for (unsigned b = 0; b < 256; ++b)
        if (ClassOf(b) == kUntypeable) n += counts[b];
    return n;
}

ByteCounts Agreed(const ByteCounts& a, const ByteCounts& b) {
    ByteCounts low{};
    std::transform(a.begin(), a.end(), b.begin(), low.begin(),
                   [](std::uint32_t x, std::uint32_t y) { return std::min(x, y); });
    return low;
}

double TypedLogLikelihood(const ByteCounts& decode, const ByteCounts& agreed) {
    std::array<double, kClasses> inClass{};
    double total = 0;
    for (unsigned b = 0; b < 256; ++b) {
        inClass[ClassOf(b)] += agreed[b];
        total += agreed[b];
    }
    double sum = 0;
    for (unsigned b = 0; b < 256; ++b) {
        if (decode[b] <= agreed[b]) continue;
        const CharClass c = ClassOf(b);
        const double chance = (inClass[c] + kUnseenWeight) /
                              (total + double(kClasses) * kUnseenWeight) / kClassSize[c];
        sum += (decode[b] - agreed[b]) * std::log(chance);
    }
    return sum;
}

} // namespace ardeko
