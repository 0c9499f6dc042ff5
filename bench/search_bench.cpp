// Times finding entries as the user types, on a large file: folding every
// entry's searched text (once per load or change), then each keystroke of a
// typed search, first the finding alone and then with the grid refilled and
// painted. The typed text starts matching every entry and narrows to one.
// A later key narrows what the key before found, so only the first key
// scans the whole file and sorts its rows. Best of a few runs per figure.
#include "bench/bench_store.h"
#include "mainwin/category_tree.h"
#include "mainwin/entry_grid.h"
#include "mainwin/entry_grid_view.h"
#include "mainwin/entry_search.h"
#include "mainwin/entry_search_box.h"
#include "mainwin/entry_search_index.h"
#include "store/pw.h"
#include "store/search_fold.h"

#include <QApplication>
#include <QLineEdit>
#include <QSplitter>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

namespace {

using ardeko::clsPW;
using qvs::EntrySearchIndex;
constexpr int kRuns = 5;
// "user 00042": every entry has "user", 31 have this one.
constexpr char kTyped[] = "USER 00042";

double BestMilliseconds(const std::function<void()>& prepare, const std::function<void()>& run) {
    return bench::BestMilliseconds(
        prepare ? prepare : [] {}, run, kRuns);
}

void Report(const std::string& what, double ms) {
    std::printf("%-44s %8.2f ms\n", what.c_str(), ms);
}

// The same entries with accented notes in one of four, so that folding has
// real work to do.
void FillAccented(clsPW& store) {
    const double today = store.Today();
    for (int i = 0; i < bench::kEntries; ++i) {
        ardeko::T_Password p = bench::MakeEntry(i, today);
        if (i % 4 == 0) p.Descr = "Caffè, perché è già così: Società Ñandú Straße";
        store.InsertPassword(p);
    }
}

// Each prefix of kTyped found as typed: a longer text looks only among what
// the shorter one found, as the search does.
void TimeFinding(const EntrySearchIndex& index, const char* label) {
    const QString typed = QString::fromLatin1(kTyped);
    double worst = 0;
    EntrySearchIndex::Positions previous;
    for (qsizetype n = 1; n <= typed.size(); ++n) {
        const QString folded =
            QString::fromStdString(ardeko::FoldForSearch(typed.left(n).toStdString()));
        const EntrySearchIndex::Positions within = previous;
        EntrySearchIndex::Positions found;
        const double ms =
            BestMilliseconds({}, [&] { found = index.Find(folded, n == 1 ? nullptr : &within); });
        if (n == 1)
            Report(std::string(label) + " first key (whole file)", ms);
        else
            worst = std::max(worst, ms);
        previous = std::move(found);
    }
    Report(std::string(label) + " worst later key", worst);
    // Every text read to its end: the slowest a key can be.
    const QString nowhere = QStringLiteral("qqq");
    Report(std::string(label) + " text found nowhere",
           BestMilliseconds({}, [&] { (void)index.Find(nowhere); }));
    std::printf("%-44s %8zu\n", "  entries found at the end", previous.size());
}

// The search as the window runs it: text typed into the box, the tree node,
// the grid refilled in the current sort and painted.
void TimeTyping(clsPW& store) {
    qvs::CategoryTree tree([&]() -> clsPW& { return store; }, nullptr);
    QSplitter panes;
    auto* box = new qvs::EntrySearchBox(&panes);
    auto* grid = new qvs::EntryGrid([&]() -> const clsPW& { return store; }, &panes);
    qvs::EntrySearch search(tree, *grid, *box, panes, [&]() -> const clsPW& { return store; });
    store.SetFilename("bench.QVS");
    tree.LoadTree();
    tree.SelectNode(QStringLiteral("R"));
    grid->ShowNode(QStringLiteral("R"));
    panes.resize(1000, 700);
    panes.show();
    auto settle = [&] {
        QApplication::processEvents();
        grid->grdpw()->viewport()->repaint();
    };
    settle();
    Report("open the box (folds the file)", BestMilliseconds([&] { search.End(); },
                                                             [&] {
                                                                 search.StoreChanged();
                                                                 search.Begin();
                                                             }));
    const QString typed = QString::fromLatin1(kTyped);
    for (int sorted = 0; sorted < 2; ++sorted) {
        if (sorted) grid->SortGrid(qvs::GridColumn::Cat, Qt::AscendingOrder);
        const char* how = sorted ? "typing, sorted by Cat:" : "typing, unsorted:";
        double worst = 0;
        double first = 0;
        for (qsizetype n = 1; n <= typed.size(); ++n) {
            const double ms =
                BestMilliseconds([&] { box->txtSearch()->setText(typed.left(n - 1)); },
                                 [&] {
                                     box->txtSearch()->setText(typed.left(n));
                                     settle();
                                 });
            if (n == 1)
                first = ms;
            else
                worst = std::max(worst, ms);
        }
        Report(std::string(how) + " first key, grid shown", first);
        Report(std::string(how) + " worst later key", worst);
    }
    std::printf("%-44s %8d\n", "  rows listed at the end", grid->model()->rowCount());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("entries %d, typed \"%s\" one key at a time\n", bench::kEntries, kTyped);

    clsPW plain;
    bench::FillStore(plain);
    EntrySearchIndex index;
    Report("fold every entry (ASCII)", BestMilliseconds({}, [&] { index.Build(plain); }));
    TimeFinding(index, "find:");

    clsPW accented;
    FillAccented(accented);
    EntrySearchIndex accentedIndex;
    Report("fold every entry (1 in 4 accented)",
           BestMilliseconds({}, [&] { accentedIndex.Build(accented); }));
    TimeFinding(accentedIndex, "find, accented:");

    TimeTyping(plain);
    return 0;
}
