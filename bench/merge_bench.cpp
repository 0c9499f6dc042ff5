// Times merging two versions of a 30,000-entry file, 1 % of the entries
// changed on each side (some of them on both), three-way and two-way, with
// the theirs side numbered differently, as another machine's copy is.
#include "bench/bench_store.h"
#include "store/pw.h"

#include <cstdio>

namespace {

using ardeko::clsPW;
using ardeko::T_Password;

constexpr int kRuns = 3;
constexpr int kChangedPerSide = bench::kEntries / 100;

// Changes every hundredth entry from first on, a field each, dated after
// the base; the sides overlap in a few entries.
void ChangeSome(clsPW& s, int first, const std::string& pw, double when) {
    const auto all = std::vector<T_Password>(s.Password().begin(), s.Password().end());
    for (int i = first, n = 0; n < kChangedPerSide; i += 97, ++n) {
        T_Password p = all[std::size_t(i) % all.size()];
        p.pw = pw + std::to_string(i);
        p.Dt_Modif = when;
        s.PWEdit(p, p.service);
    }
}

} // namespace

int main() {
    clsPW base;
    bench::FillStore(base);
    clsPW mine = base;
    ChangeSome(mine, 0, "mine", base.Now() + 1);
    clsPW theirs = base;
    ChangeSome(theirs, 50, "theirs", base.Now() + 2);
    theirs.CatRen(bench::Numbered("Category", 1), "Renamed category");

    std::printf("Merging %d entries, %d changed on each side (best of %d)\n", bench::kEntries,
                kChangedPerSide, kRuns);
    for (const bool threeWay : {true, false}) {
        clsPW into;
        ardeko::MergeSummary summary;
        const bench::Timing t = bench::BestTiming(
            [&] { into = mine; }, [&] { into.Merge(threeWay ? &base : nullptr, theirs, summary); },
            kRuns);
        std::printf("  %-9s %8.1f ms wall %8.1f ms CPU  (%zu entries, %zu conflicts)\n",
                    threeWay ? "three-way" : "two-way", t.wallMs, t.cpuMs, into.Password().Count(),
                    summary.conflicts.size());
    }
    return 0;
}
