// Times finding the entries for one web page in a 30,000-entry store
// through the index by site, and building that index: with addresses
// spread over many sites (a person's logins), and with every entry on one
// site (the shared benchmark store), the worst case for a lookup.
#include "bench/bench_store.h"
#include "store/site_index.h"

#include <cstdio>

namespace {

constexpr int kRuns = 5;
constexpr int kLookups = 1000;

// A few entries per site, on several suffixes, some on subdomains.
void SpreadAddresses(ardeko::clsPW& store) {
    auto all = ardeko::MakePasswordCollection();
    int i = 0;
    for (const ardeko::T_Password& e : store.Password()) {
        ardeko::T_Password copy = e;
        const char* suffix[] = {".com", ".co.uk", ".de", ".github.io"};
        copy.URL_Access = (i % 3 ? "https://" : "https://login.") + std::string("site") +
                          std::to_string(i % 6000) + suffix[i % 4] + "/";
        all.Append(copy.service, std::move(copy));
        ++i;
    }
    store.SetPassword(std::move(all));
}

void Run(const char* what, const ardeko::clsPW& store, const char* page) {
    ardeko::SiteIndex index;
    const bench::Timing build =
        bench::BestTiming([] {}, [&] { index.Rebuild(store.Password()); }, kRuns);
    std::size_t found = 0;
    const bench::Timing lookups =
        bench::BestTiming([&] { found = 0; },
                          [&] {
                              for (int i = 0; i < kLookups; ++i)
                                  found += index.Lookup(store.Password(), page).size();
                          },
                          kRuns);
    std::printf("  %-22s build %7.1f ms   one lookup %8.4f ms CPU (%zu entries found)\n", what,
                build.cpuMs, lookups.cpuMs / kLookups, found / kLookups);
}

} // namespace

int main() {
    ardeko::clsPW store;
    bench::FillStore(store);
    std::printf("Entries for one page among %d entries (best of %d)\n", bench::kEntries, kRuns);
    Run("every entry one site", store, "https://www.example.org/login");
    SpreadAddresses(store);
    Run("6,000 sites", store, "https://login.site1233.co.uk/signin?next=/");
    return 0;
}
