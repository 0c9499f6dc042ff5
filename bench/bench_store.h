// What the benchmarks share: a large store spread over every category,
// subcategory and state folder, and timing a step best of a few runs.
#pragma once

#include "store/pw.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <time.h>

namespace bench {

constexpr int kEntries = 30000;
// Files are timed with a password, as a user keeps them; it adds the key checks.
constexpr const char* kFilePassword = "bench-file-password";
constexpr int kCategories = 20;
constexpr int kSubCategoriesPerCategory = 3;

inline std::string Numbered(const char* prefix, int n) {
    char text[32];
    std::snprintf(text, sizeof text, "%s %05d", prefix, n);
    return text;
}

inline std::int16_t Code(int n) {
    return static_cast<std::int16_t>(n);
}

// Entry i: filed over every category and subcategory (and none), some
// favourites, dates around today so that every state folder has entries,
// and one in ten with notes of several lines. Names are not created in
// name order, as a user adds them.
inline ardeko::T_Password MakeEntry(int i, double today) {
    ardeko::T_Password p;
    p.service = Numbered("Service", (i * 7919) % kEntries);
    p.Codcat = Code(i % (kCategories + 1)); // 0: no category
    const int sub = i % (kSubCategoriesPerCategory + 1);
    p.CodSCat = p.Codcat && sub ? Code((p.Codcat - 1) * kSubCategoriesPerCategory + sub) : 0;
    p.User = Numbered("user", i % 977);
    p.pw = Numbered("secret", i);
    p.Email = p.User + "@mail.example";
    p.URL_Access = "https://www.example.org/" + std::to_string(i);
    p.Descr = i % 10 == 0 ? "First line\nSecond line\nThird line" : "One line of notes";
    p.Favourites = i % 17 == 0;
    p.blExpire = i % 3 == 0;
    p.Dt_Expire = today - 30 + i % 60;
    p.ggNotExpire = 10;
    p.blChange = i % 5 == 0;
    p.Dt_Change = today - 20 + i % 40;
    p.ggNotChange = 7;
    return p;
}

// The categories, their subcategories and kEntries entries, dated by the
// store's own clock.
inline void FillStore(ardeko::clsPW& store) {
    for (int c = 1; c <= kCategories; ++c) {
        store.InsertCategory({Code(c), Numbered("Category", c), true});
        for (int s = 1; s <= kSubCategoriesPerCategory; ++s)
            store.InsertSubCategory(
                {Code((c - 1) * kSubCategoriesPerCategory + s), Code(c), Numbered("Group", s)});
    }
    const double today = store.Today();
    for (int i = 0; i < kEntries; ++i)
        store.InsertPassword(MakeEntry(i, today));
}

// A new store under the benchmark password, filled and in format; the
// caller saves it.
inline void MakeBenchStore(ardeko::clsPW& store, ardeko::FileFormat format) {
    store.NewFile();
    store.SetFilePW(kFilePassword);
    store.SetFormat(format);
    FillStore(store);
}

inline const char* FormatName(ardeko::FileFormat format) {
    return format == ardeko::FileFormat::Two ? "2" : "legacy";
}

// Process CPU time (user and system, all threads) in milliseconds: on a
// shared machine it varies far less than the wall clock.
inline double CpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Timing {
    double wallMs = 1e300;
    double cpuMs = 1e300;
};

// Times run() only, best of runs for each clock; prepare() sets up each run untimed.
inline Timing BestTiming(const std::function<void()>& prepare, const std::function<void()>& run,
                         int runs) {
    Timing best;
    for (int i = 0; i < runs; ++i) {
        prepare();
        const double cpuStart = CpuMilliseconds();
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        best.wallMs = std::min(best.wallMs, took.count());
        best.cpuMs = std::min(best.cpuMs, CpuMilliseconds() - cpuStart);
    }
    return best;
}

inline double BestMilliseconds(const std::function<void()>& prepare,
                               const std::function<void()>& run, int runs) {
    return BestTiming(prepare, run, runs).wallMs;
}

} // namespace bench
