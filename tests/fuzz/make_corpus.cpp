// Writes the fuzz target's seed corpus into the folder given: enciphered
// files made by the store (no password and the corpus password) in format 2
// and legacy (with and without trailer), and plain files of each version,
// laid out field by field. Keys use the smallest parameters, as the fuzz
// target accepts no more.
#include "store/format2/format2.h"
#include "store/legacy/legacy_file.h"
#include "store/legacy/trailer.h"
#include "store/pw.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <type_traits>

using namespace ardeko;

namespace {

void Fill(clsPW& s, int entries) {
    s.InsertCategory({1, "Banks", false});
    s.InsertCategory({2, "Mail", true});
    s.InsertSubCategory({1, 1, "Cards"});
    s.InsertSubCategory({2, 2, "Work"});
    for (int i = 0; i < entries; ++i) {
        T_Password p;
        p.service = "Service " + std::to_string(i);
        p.Codcat = static_cast<std::int16_t>(i % 3);
        p.CodSCat = static_cast<std::int16_t>(i % 2);
        p.User = "user" + std::to_string(i);
        p.pw = "pw\x01" + std::to_string(i * 37);
        p.Descr = i % 2 ? "Caf\xc3\xa9 notes" : "";
        p.Remember = "\x0c"
                     "pasted text";
        p.Dt_Insert = 46000 + i;
        p.Dt_Expire = i % 2 ? 46100 : 0;
        p.blExpire = i % 2;
        s.InsertPassword(p);
    }
    s.AppendNode({"Banks", false});
}

void Save(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class PlainWriter {
public:
    void Text(const std::string& s) {
        Int(static_cast<std::int16_t>(s.size()));
        out += s;
    }
    void Int(std::int16_t v) { out.append(reinterpret_cast<const char*>(&v), 2); }
    void operator()(const char*, const std::string& v) { Text(v); }
    void operator()(const char*, std::int16_t v) { Int(v); }
    void operator()(const char*, bool v) { Int(v ? -1 : 0); }
    void operator()(const char*, double v) { out.append(reinterpret_cast<const char*>(&v), 8); }
    std::string out;
};

std::string Plain(const clsPW& s, const char* version) {
    PlainWriter w;
    w.Text(version);
    w.out.append(4, '\0');
    w.Text("");
    w.Int(0);
    auto section = [&](const auto& records) {
        w.Int(static_cast<std::int16_t>(records.Count()));
        for (const auto& r : records)
            VisitFields(r, w);
    };
    section(s.Category());
    section(s.SubCategory());
    section(s.Password());
    section(s.NodeStates());
    return w.out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_corpus FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    SetKdfParamsForTesting(MinimalKdfParams());
    int n = 0;
    for (int entries : {0, 1, 5}) {
        for (const char* password : {"", "fuzz-pw"}) {
            clsPW s;
            Fill(s, entries);
            const StoreContents contents{s.Category(), s.SubCategory(), s.Password(),
                                         s.NodeStates(), &s.DeletionMarks()};
            EncodedFile out;
            FileKey key;
            std::string two;
            if (EncodeFile(contents, password, out) ||
                !NewFileKey(password, MinimalKdfParams(), key) || EncodeFormat2(contents, key, two))
                return 1;
            Save(folder + "/store-" + std::to_string(n++), out.image);
            Save(folder + "/format2-" + std::to_string(n++), two);
            if (!AppendTrailer(out.image, key)) return 1;
            Save(folder + "/trailer-" + std::to_string(n++), out.image);
        }
        clsPW s;
        Fill(s, entries);
        for (const char* version : {kVersion101, kVersion102, kVersion103})
            Save(folder + "/plain-" + std::to_string(n++), Plain(s, version));
    }
    return 0;
}
