// Times the entry grid on a large file with the view shown: listing every
// entry (ShowNode of the root), switching between a category and the root,
// sorting, and the root again with multi-line notes shown in full. Each
// figure includes the view's relayout and one paint; best of a few runs.
#include "bench/bench_store.h"
#include "frame/options.h"
#include "mainwin/entry_grid.h"
#include "mainwin/entry_grid_view.h"
#include "store/pw.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace {

using ardeko::clsPW;
constexpr int kRuns = 5;

// Lets the view lay out and paint what it was given.
void Settle(qvs::EntryGrid& grid) {
    QApplication::processEvents();
    grid.grdpw()->viewport()->repaint();
}

double BestMilliseconds(const std::function<void()>& prepare, const std::function<void()>& run) {
    return bench::BestMilliseconds(prepare, run, kRuns);
}

void Report(const char* what, double ms) {
    std::printf("%-36s %8.2f ms\n", what, ms);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    clsPW store;
    bench::FillStore(store);
    qvs::EntryGrid grid([&]() -> const clsPW& { return store; });
    grid.resize(1000, 700);
    grid.show();
    Settle(grid);
    auto show = [&](const char* key) {
        grid.ShowNode(QString::fromLatin1(key));
        Settle(grid);
    };
    auto none = [] {};
    auto empty = [&] { show("X9"); };

    std::printf("entries %d\n", bench::kEntries);
    Report("ShowNode root", BestMilliseconds(empty, [&] { show("R"); }));
    Report("root -> category C3", BestMilliseconds([&] { show("R"); }, [&] { show("C3"); }));
    Report("category C3 -> root", BestMilliseconds([&] { show("C3"); }, [&] { show("R"); }));
    Report("ShowNode expired E2", BestMilliseconds(empty, [&] { show("E2"); }));
    show("R");
    Report("sort Service descending", BestMilliseconds(none, [&] {
               grid.SortGrid(qvs::GridColumn::Service, Qt::DescendingOrder);
               Settle(grid);
           }));
    Report("sort ExpDate ascending", BestMilliseconds(none, [&] {
               grid.SortGrid(qvs::GridColumn::ExpDate, Qt::AscendingOrder);
               Settle(grid);
           }));
    Report("sort Cat ascending", BestMilliseconds(none, [&] {
               grid.SortGrid(qvs::GridColumn::Cat, Qt::AscendingOrder);
               Settle(grid);
           }));
    Report("ShowNode root, sorted by Cat", BestMilliseconds(empty, [&] { show("R"); }));
    qvs::Opt().ShowNotes = true;
    Report("ShowNode root, notes in full", BestMilliseconds(empty, [&] { show("R"); }));
    Report("sort Service, notes in full", BestMilliseconds(none, [&] {
               grid.SortGrid(qvs::GridColumn::Service, Qt::AscendingOrder);
               Settle(grid);
           }));
    Report("scroll to end, notes in full", BestMilliseconds([&] { grid.grdpw()->scrollToTop(); },
                                                            [&] {
                                                                grid.grdpw()->scrollToBottom();
                                                                Settle(grid);
                                                            }));
    return 0;
}
