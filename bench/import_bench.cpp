// import_bench: reading, planning and applying 30,000 rows of a KeePass-format
// CSV export, into an empty store and into one of 30,000 entries; and 20,000
// rows that all have one name, each renamed.
#include "bench/bench_store.h"
#include "store/import/foreign_import.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// kEntries rows over a few folder levels, with quoting, notes of several
// lines and a one-time-password secret in every fifth row.
std::string MakeCsv() {
    std::string csv = "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\","
                      "\"Icon\",\"Last Modified\",\"Created\"\n";
    for (int i = 0; i < bench::kEntries; ++i) {
        const std::string group = "Root/" + bench::Numbered("Folder", i % 25) +
                                  (i % 3 ? "/" + bench::Numbered("Sub", i % 7) : "");
        csv += "\"" + group + "\",\"" + bench::Numbered("Login", (i * 7919) % bench::kEntries) +
               "\",\"" + bench::Numbered("user", i % 977) + "\",\"p\"\"w," + std::to_string(i) +
               "\",\"https://site" + std::to_string(i % 5000) + ".example/login\",\"" +
               (i % 10 == 0 ? "first\nsecond" : "one line") + "\",\"" +
               (i % 5 == 0 ? "JBSWY3DPEHPK3PXP" : "") +
               "\",\"0\",\"2024-05-01T10:00:00Z\",\"2023-01-01T09:00:00Z\"\n";
    }
    return csv;
}

void ImportInto(ardeko::clsPW& store, const std::string& csv) {
    ardeko::ForeignData data;
    if (auto err = ardeko::ReadForeignData(csv, {}, data)) {
        std::fprintf(stderr, "read: %s\n", err->c_str());
        std::exit(1);
    }
    const ardeko::ImportPlan plan = ardeko::PlanImport(store, data, {store.Now(), 0});
    if (auto err = ardeko::ApplyImport(store, plan)) {
        std::fprintf(stderr, "apply: %s\n", err->c_str());
        std::exit(1);
    }
}

void Report(const char* what, const bench::Timing& t, std::size_t entries) {
    std::printf("%-40s %8.1f ms wall %8.1f ms CPU  (%zu entries after)\n", what, t.wallMs, t.cpuMs,
                entries);
}

} // namespace

int main() {
    const std::string csv = MakeCsv();
    std::printf("CSV of %d rows, %.1f MB\n", bench::kEntries, csv.size() / 1e6);
    ardeko::clsPW store;
    const auto empty =
        bench::BestTiming([&] { store = ardeko::clsPW(); }, [&] { ImportInto(store, csv); }, 3);
    Report("into an empty store", empty, store.Password().Count());
    const auto full = bench::BestTiming(
        [&] {
            store = ardeko::clsPW();
            bench::FillStore(store);
        },
        [&] { ImportInto(store, csv); }, 3);
    Report("into a store of 30,000 entries", full, store.Password().Count());
    std::string same = "name,url,username,password\n";
    for (int i = 0; i < 20000; ++i)
        same += "Mail,,user" + std::to_string(i % 3) + ",p\n";
    const auto renamed =
        bench::BestTiming([&] { store = ardeko::clsPW(); }, [&] { ImportInto(store, same); }, 3);
    Report("20,000 rows of one name", renamed, store.Password().Count());
    return 0;
}
