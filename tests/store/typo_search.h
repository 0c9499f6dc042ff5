// Old files another program wrote (no trailer) and a typo of their
// password that opens them anyway, found by a seeded search: what the
// programs must never rewrite on the strength of one typing.
#pragma once

#include "store/legacy/legacy_file.h"
#include "store/pw.h"
#include "tests/store/store_samples.h"

#include <optional>
#include <random>
#include <string>

namespace typos {

using namespace ardeko;

// A legacy image as other programs write it: the records and no trailer.
inline std::string ForeignLegacyImage(const clsPW& s, const std::string& password) {
    EncodedFile e;
    if (EncodeFile({s.Category(), s.SubCategory(), s.Password(), s.NodeStates()}, password, e))
        return {};
    return e.image;
}

// One slip of one key: a character replaced, dropped, doubled, or two
// neighbours swapped.
inline std::string Typo(std::string pw, std::mt19937& rng) {
    const std::size_t at = rng() % pw.size();
    switch (rng() % 4) {
    case 0:
        pw[at] = static_cast<char>('!' + rng() % 94);
        break;
    case 1:
        pw.erase(at, 1);
        break;
    case 2:
        pw.insert(at, 1, pw[at]);
        break;
    default:
        if (at + 1 < pw.size()) std::swap(pw[at], pw[at + 1]);
        break;
    }
    return pw;
}

struct OpeningTypo {
    std::string image, password, typo;
};

// Searches, from a fixed seed, for a file without a trailer and a typo of
// its password that opens it: about one typo in twenty does.
inline std::optional<OpeningTypo> FindOpeningTypo() {
    std::mt19937 rng(20261208);
    clsPW s;
    s.NewFile();
    FillSample(s);
    for (int file = 0; file < 40; ++file) {
        const std::string pw = "garden" + std::to_string(rng() % 100000);
        const std::string image = ForeignLegacyImage(s, pw);
        for (int attempt = 0; attempt < 200; ++attempt) {
            const std::string typo = Typo(pw, rng);
            if (typo != pw && DecodeFile(image, typo).status == DecodeStatus::Ok)
                return OpeningTypo{image, pw, typo};
        }
    }
    return std::nullopt;
}

} // namespace typos
