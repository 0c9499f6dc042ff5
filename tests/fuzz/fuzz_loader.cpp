// libFuzzer target for the data file loader: decodes any bytes with no
// password and with the seed corpus's password, and checks that whatever
// loads can be saved (in its own format) and loaded again to the same
// records, and that a refused file of format 2 or with a trailer shows no
// data. Keys are derived with the smallest parameters the library allows,
// and a header asking for more is refused, so inputs stay fast.
#include "store/format2/format2.h"
#include "store/legacy/legacy_file.h"
#include "store/legacy/trailer.h"
#include "store/pw.h"
#include "store/vbdate.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <type_traits>

using namespace ardeko;

namespace {

// The password of the enciphered files in the seed corpus.
constexpr const char* kCorpusPassword = "fuzz-pw";

[[noreturn]] void Finding(const char* what) {
    std::fprintf(stderr, "fuzz_loader: %s\n", what);
    std::abort();
}

// What the store keeps of a loaded record: dates by day once enciphered.
template <class R> R AsSaved(R r) {
    VisitFields(r, [](const char*, auto& f) {
        if constexpr (std::is_same_v<std::decay_t<decltype(f)>, double>) f = VbDatePart(f);
    });
    return r;
}

struct Loaded {
    CategoryCollection categories;
    SubCategoryCollection subcategories;
    PasswordCollection passwords;
    NodeCollection nodes;
};

// Files the collections as the store does on load (duplicates are skipped).
Loaded Collect(const DecodedFile& f) {
    Loaded l;
    for (const T_Categ& r : f.categories)
        l.categories.InsertByName(r.DescrCat, r);
    for (const T_SCateg& r : f.subcategories)
        l.subcategories.InsertByName(SubCategoryKey(r.Codcat, r.DescrSCat), r);
    for (const T_Password& r : f.passwords)
        l.passwords.InsertByName(r.service, AsSaved(r));
    for (const T_Node& r : f.nodes)
        l.nodes.Append(r.DescrCat, r);
    return l;
}

template <class R, class Records>
bool Same(const KeyedCollection<R>& expected, const Records& got) {
    if (expected.Count() != got.size()) return false;
    for (std::size_t i = 0; i < got.size(); ++i)
        if (!(AsSaved(expected[i]) == got[i])) return false;
    return true;
}

bool Empty(const DecodedFile& f) {
    return f.categories.empty() && f.subcategories.empty() && f.passwords.empty() &&
           f.nodes.empty();
}

// An authenticated file either opens whole or is refused with one of the two
// clear answers, showing nothing.
void CheckAuthenticated(std::string_view image, const DecodedFile& f) {
    const bool authenticated = IsFormat2(image) || FindTrailer(image).has_value();
    if (!authenticated || f.status == DecodeStatus::Ok) return;
    if (f.status != DecodeStatus::WrongPassword && f.status != DecodeStatus::Damaged &&
        f.status != DecodeStatus::SlowKey && IsFormat2(image))
        Finding("a format-2 file was refused with an unclear answer");
    if ((f.status == DecodeStatus::WrongPassword || f.status == DecodeStatus::Damaged ||
         f.status == DecodeStatus::SlowKey) &&
        !Empty(f))
        Finding("a refused file showed data");
}

void RoundTrip(std::string_view image, const std::string& password) {
    const DecodedFile first = DecodeFile(image, password);
    CheckAuthenticated(image, first);
    DecodeFile(image, password, true);
    if (first.status != DecodeStatus::Ok) return;
    const Loaded l = Collect(first);
    const StoreContents contents{l.categories, l.subcategories, l.passwords, l.nodes,
                                 &first.deleted};
    if (IsFormat2(image)) {
        std::string again;
        if (EncodeFormat2(contents, first.key, again)) Finding("a format-2 file cannot be saved");
        const DecodedFile back = DecodeFile(again, password);
        if (back.status != DecodeStatus::Ok || !Same(l.passwords, back.passwords) ||
            !Same(l.categories, back.categories) || !Same(l.nodes, back.nodes))
            Finding("a saved format-2 file loads to other records");
        return;
    }
    EncodedFile saved;
    if (auto err = EncodeFile(contents, password, saved)) {
        // A plain file may hold texts longer than an enciphered one can;
        // saving says so. Anything else loaded must save.
        if (err->num == Code(StoreError::TooLarge) &&
            err->descr.find("characters long") != std::string::npos)
            return;
        Finding(("a loaded file cannot be saved: " + err->descr).c_str());
    }
    if (first.key.Valid() && !AppendTrailer(saved.image, first.key))
        Finding("a trailer cannot be written");
    const DecodedFile again = DecodeFile(saved.image, password);
    if (again.status != DecodeStatus::Ok || again.truncated || again.badValues)
        Finding("a saved file does not load again");
    if (!Same(l.categories, again.categories) || !Same(l.subcategories, again.subcategories) ||
        !Same(l.passwords, again.passwords) || !Same(l.nodes, again.nodes))
        Finding("a saved file loads to other records");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SetKdfParamsForTesting(MinimalKdfParams());
    SetKdfCeilingForTesting(MinimalKdfParams());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    RoundTrip(image, "");
    RoundTrip(image, kCorpusPassword);
    return 0;
}
