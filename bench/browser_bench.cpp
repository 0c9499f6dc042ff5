// Times the extension's get-logins for one page in a 30,000-entry format-2
// file, end to end in the process: the request boxed by the extension's
// side, opened, the entries found through the index by site and the site
// permissions, the answer sealed and opened again. Addresses are spread
// over 6,000 sites (a person's logins); the index is built by the first
// request, timed apart.
#include "bench/bench_store.h"
#include "tests/browser/protocol_fixture.h"

#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kRuns = 5;
constexpr int kRequests = 200;

void SpreadOverSites(ardeko::clsPW& store) {
    auto all = ardeko::MakePasswordCollection();
    int i = 0;
    for (const ardeko::T_Password& e : store.Password()) {
        ardeko::T_Password copy = e;
        copy.URL_Access = "https://" + std::string(i % 2 ? "login." : "") + "shop" +
                          std::to_string(i % 6000) + (i % 3 ? ".com" : ".co.uk") + "/signin";
        all.Append(copy.service, std::move(copy));
        ++i;
    }
    store.SetPassword(std::move(all));
}

} // namespace

int main() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("bench.QVS").toStdString();
    {
        ardeko::clsPW made;
        bench::MakeBenchStore(made, ardeko::FileFormat::Two);
        SpreadOverSites(made);
        if (!made.SaveFile(path, false)) return 1;
    }
    qvs::testing::ProtocolFixture f;
    if (!f.store.LoadFile(path, bench::kFilePassword)) return 1;
    f.questions.site = qvs::browser::SiteAnswer::AllowAlways;
    if (!f.Connect()) return 1;
    const std::string page = "https://login.shop1233.co.uk/signin?next=/";

    std::size_t found = 0;
    const bench::Timing first = bench::BestTiming(
        [] {}, [&] { found = f.client.GetLogins(page).body["entries"].size(); }, 1);
    const bench::Timing each = bench::BestTiming([] {},
                                                 [&] {
                                                     for (int i = 0; i < kRequests; ++i)
                                                         f.client.GetLogins(page);
                                                 },
                                                 kRuns);
    std::printf("get-logins for one page among %d entries of a format-2 file (%zu found)\n",
                bench::kEntries, found);
    std::printf("  first request (builds the index)   %8.2f ms wall\n", first.wallMs);
    std::printf("  one request, best of %d x %d       %8.3f ms wall %8.3f ms CPU\n", kRuns,
                kRequests, each.wallMs / kRequests, each.cpuMs / kRequests);
    return 0;
}
