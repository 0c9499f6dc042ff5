// Times building the category tree of a large file: LoadTree (the tree part
// of opening a file and showing its root) and CalcNumber (after every entry
// change), best of a few runs.
#include "category_tree.h"
#include "pw.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace {

using ardeko::clsPW;

constexpr int kEntries = 30000;
constexpr int kCategories = 20;
constexpr int kSubCategoriesPerCategory = 3;
constexpr int kRuns = 5;
// The store's own clock, as in the program: judging the dates asks it per entry.
const double kToday = ardeko::VbDatePart(ardeko::LocalNow());

std::string Numbered(const char* prefix, int n) {
    char text[32];
    std::snprintf(text, sizeof text, "%s %05d", prefix, n);
    return text;
}

std::int16_t Code(int n) {
    return static_cast<std::int16_t>(n);
}

// Entries spread over every category and subcategory, a share of them
// favourites or with expiry and change dates around today.
ardeko::T_Password MakeEntry(int i) {
    ardeko::T_Password p;
    p.service = Numbered("Service", i);
    p.Codcat = Code(i % (kCategories + 1)); // 0: no category
    const int sub = i % (kSubCategoriesPerCategory + 1);
    p.CodSCat = p.Codcat && sub ? Code((p.Codcat - 1) * kSubCategoriesPerCategory + sub) : 0;
    p.Favourites = i % 17 == 0;
    p.blExpire = i % 3 == 0;
    p.Dt_Expire = kToday - 30 + i % 60;
    p.ggNotExpire = 10;
    p.blChange = i % 5 == 0;
    p.Dt_Change = kToday - 20 + i % 40;
    p.ggNotChange = 7;
    return p;
}

void FillStore(clsPW& store) {
    for (int c = 1; c <= kCategories; ++c) {
        store.InsertCategory({Code(c), Numbered("Category", c), false});
        for (int s = 1; s <= kSubCategoriesPerCategory; ++s)
            store.InsertSubCategory(
                {Code((c - 1) * kSubCategoriesPerCategory + s), Code(c), Numbered("Group", s)});
    }
    for (int i = 0; i < kEntries; ++i)
        store.InsertPassword(MakeEntry(i));
    store.SetFilename("/bench/Bench.QVS");
}

double BestMilliseconds(const std::function<void()>& run) {
    double best = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    clsPW store;
    FillStore(store);
    qvs::CategoryTree tree([&]() -> clsPW& { return store; }, nullptr);
    tree.resize(300, 600);
    tree.show();
    const double load = BestMilliseconds([&] {
        tree.LoadTree();
        QApplication::processEvents(); // lay out and paint what was built
    });
    const double recount = BestMilliseconds([&] { tree.CalcNumber(1, 1); });
    int nodes = 0;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it)
        ++nodes;
    std::printf("entries %d, tree nodes %d\n", kEntries, nodes);
    std::printf("LoadTree   %8.2f ms\nCalcNumber %8.2f ms\n", load, recount);
    return 0;
}
