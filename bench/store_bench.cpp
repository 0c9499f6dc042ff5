// Times the store's file operations on stores of realistic size and prints,
// per store size and measurement, the best of a few runs. New measurements
// go into the table in Cases().
#include "bench/bench_store.h"
#include "store/pw.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using ardeko::clsPW;

using bench::kCategories;
using bench::kSubCategoriesPerCategory;
constexpr long kFieldsPerEntry = 39;
constexpr long kFieldsPerCategory = 3;
constexpr long kFieldsPerSubCategory = 3;
constexpr int kRuns = 3;
constexpr std::array<int, 3> kEntryCounts = {1000, 10000, 30000};
// The bench's own throwaway files; nobody's secret.
using bench::kFilePassword;

// A fresh folder under the system temp folder, removed with its contents.
class TempFolder {
public:
    TempFolder() {
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("qvs-bench-" + std::to_string(rd()));
        fs::create_directory(path_);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

// Believable, repeatable record contents.
class FakeData {
public:
    std::string Pick(const std::vector<std::string>& from) { return from[Below(from.size())]; }
    std::size_t Below(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
    }
    std::string Password() {
        static const std::string chars =
            "abcdefghijkmnopqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789!#$%&*+-=?@_";
        std::string pw(12 + Below(9), ' ');
        for (char& c : pw)
            c = chars[Below(chars.size())];
        return pw;
    }
    // A day between 2015 and 2024 with a time of day.
    double Date() {
        return 42005.0 + static_cast<double>(Below(3650)) +
               static_cast<double>(Below(86400)) / 86400.0;
    }

private:
    std::mt19937 rng_{20240611};
};

std::string Padded(int n, int width) {
    std::string s = std::to_string(n);
    return std::string(width > static_cast<int>(s.size()) ? width - s.size() : 0, '0') + s;
}

ardeko::T_Password MakeEntry(FakeData& fake, int i) {
    static const std::vector<std::string> kinds = {"Shop",  "Bank",   "Forum", "Mail",
                                                   "Cloud", "Travel", "Games", "News"};
    static const std::vector<std::string> names = {"anna", "marco",  "lena",  "tomas",
                                                   "ines", "pieter", "sofia", "jonas"};
    static const std::vector<std::string> notes = {
        "Family account", "Second card, expires soon", "Shared with the office",
        "Old login, keep for invoices", "Security question: first pet"};
    ardeko::T_Password p;
    const std::string kind = fake.Pick(kinds);
    const std::string site = "https://www." + kind + Padded(i, 5) + ".example";
    p.service = kind + " " + Padded(i, 5) + " account";
    p.Codcat = static_cast<std::int16_t>(1 + fake.Below(kCategories));
    p.CodSCat = static_cast<std::int16_t>((p.Codcat - 1) * kSubCategoriesPerCategory + 1 +
                                          fake.Below(kSubCategoriesPerCategory));
    p.User = fake.Pick(names) + "." + fake.Pick(names) + std::to_string(fake.Below(100));
    p.pw = fake.Password();
    p.Descr = fake.Pick(notes);
    p.URL_Access = site + "/login";
    p.URL_Change = site + "/account/password";
    p.Email = p.User + "@mail.example";
    p.Dt_Insert = fake.Date();
    p.Dt_Modif = p.Dt_Insert + static_cast<double>(fake.Below(400));
    p.blExpire = fake.Below(4) == 0;
    p.Dt_Expire = p.blExpire ? p.Dt_Modif + 365.0 : 0.0;
    p.ggNotExpire = p.blExpire ? 14 : 0;
    p.Favourites = fake.Below(20) == 0;
    return p;
}

void Require(bool ok, const clsPW& store, const char* what) {
    if (!ok) throw std::runtime_error(std::string(what) + " failed: " + store.ErrDescr());
}

void FillStore(clsPW& store, int entries) {
    static const std::vector<std::string> topics = {"Banking", "Email", "Shopping", "Work",
                                                    "Travel"};
    FakeData fake;
    for (int c = 1; c <= kCategories; ++c) {
        const auto code = static_cast<std::int16_t>(c);
        Require(store.InsertCategory(
                    {code, topics[c % topics.size()] + " " + Padded(c, 2), c % 2 == 0}),
                store, "InsertCategory");
        for (int s = 1; s <= kSubCategoriesPerCategory; ++s) {
            const auto sub = static_cast<std::int16_t>((c - 1) * kSubCategoriesPerCategory + s);
            Require(store.InsertSubCategory({sub, code, "Group " + Padded(sub, 2)}), store,
                    "InsertSubCategory");
        }
    }
    for (int i = 0; i < entries; ++i)
        Require(store.InsertPassword(MakeEntry(fake, i)), store, "InsertPassword");
}

// One store size: the filled store and the file it is saved to.
struct Fixture {
    int entries;
    std::string path;
    clsPW store;
    long Fields() const {
        return entries * kFieldsPerEntry +
               kCategories *
                   (kFieldsPerCategory + kSubCategoriesPerCategory * kFieldsPerSubCategory);
    }
};

constexpr int kAdds = 10000;

// Entries not in the fixture, in random name order.
std::vector<ardeko::T_Password> ExtraEntries() {
    FakeData fake;
    std::vector<ardeko::T_Password> extra;
    for (int i = 0; i < kAdds; ++i) {
        ardeko::T_Password p = MakeEntry(fake, i);
        p.service =
            "Extra " + Padded(static_cast<int>(fake.Below(1000000)), 7) + " " + Padded(i, 5);
        extra.push_back(std::move(p));
    }
    return extra;
}

struct Case {
    const char* name;
    const char* unit; // what the rate counts
    std::function<long(const Fixture&)> units;
    std::function<void(Fixture&, clsPW& work)> prepare; // untimed, may be empty
    std::function<void(Fixture&, clsPW& work)> run;     // one timed run; throws on failure
};

void LoadInto(clsPW& store, const Fixture& f) {
    Require(store.LoadFile(f.path, kFilePassword), store, "LoadFile");
    if (store.Password().Count() != static_cast<std::size_t>(f.entries))
        throw std::runtime_error("LoadFile returned a different number of entries");
}

Case Bulk(const char* name, bool (*op)(clsPW&)) {
    return {name, "entries", [](const Fixture& f) { return long{f.entries}; },
            [](Fixture& f, clsPW& work) {
                LoadInto(work, f);
                Require(work.PWChangeCat(work.Password()[0].service), work, "PWChangeCat");
            },
            [op](Fixture&, clsPW& work) { Require(op(work), work, "bulk operation"); }};
}

std::vector<Case> Cases() {
    static const std::vector<ardeko::T_Password> extra = ExtraEntries();
    auto fields = [](const Fixture& f) { return f.Fields(); };
    return {
        {"save",
         "fields",
         fields,
         {},
         [](Fixture& f, clsPW&) {
             Require(f.store.SaveFile(f.path, /*backup*/ false), f.store, "SaveFile");
         }},
        {"load", "fields", fields, {}, [](Fixture& f, clsPW& work) { LoadInto(work, f); }},
        {"add", "adds", [](const Fixture&) { return long{kAdds}; },
         [](Fixture& f, clsPW& work) { LoadInto(work, f); },
         [](Fixture&, clsPW& work) {
             for (const ardeko::T_Password& p : extra)
                 Require(work.PWAdd(p), work, "PWAdd");
         }},
        {"count", "entries", [](const Fixture& f) { return long{f.entries}; },
         [](Fixture& f, clsPW& work) {
             LoadInto(work, f);
             work.SetClock([] { return 45600.5; });
         },
         [](Fixture&, clsPW& work) {
             volatile long sum = work.FavouriteNumber() + work.ExpiredNumber() +
                                 work.InExpirationNumber() + work.ChangedNumber() +
                                 work.InChangeNumber();
             (void)sum;
         }},
        // Bulk re-filing after one entry has left name order, as after any
        // single re-filing: each must stay linear in the store's size.
        Bulk("catdel", [](clsPW& w) { return w.CatDel("Email 01", true); }),
        Bulk("catchg", [](clsPW& w) { return w.CatChange("Group 01", 1, 2); }),
        Bulk("cat2sub", [](clsPW& w) { return w.CambiaCatInSub("Email 01", 2); }),
        Bulk("subdel", [](clsPW& w) { return w.SubCatDel(1, "Group 01", true); }),
    };
}

} // namespace

int main() {
    try {
        const TempFolder folder;
        std::printf("%-6s %8s %10s %10s %14s\n", "case", "entries", "wall ms", "cpu ms",
                    "rate (wall)");
        for (int entries : kEntryCounts) {
            Fixture f{entries,
                      (folder.Path() / ("bench-" + std::to_string(entries) + ".qvs")).string(),
                      {}};
            f.store.NewFile();
            f.store.SetFilePW(kFilePassword);
            FillStore(f.store, entries);
            for (const Case& c : Cases()) {
                clsPW work;
                const bench::Timing t = bench::BestTiming(
                    [&] {
                        work.NewFile();
                        if (c.prepare) c.prepare(f, work);
                    },
                    [&] { c.run(f, work); }, kRuns);
                std::printf("%-6s %8d %10.1f %10.1f %10.0f %s/s\n", c.name, entries, t.wallMs,
                            t.cpuMs, static_cast<double>(c.units(f)) / (t.wallMs / 1000.0), c.unit);
            }
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "store_bench: %s\n", e.what());
        return 1;
    }
}
