// Times building the category tree of a large file: LoadTree (the tree part
// of opening a file and showing its root) and CalcNumber (after every entry
// change), best of a few runs.
#include "bench/bench_store.h"
#include "mainwin/category_tree.h"
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

double Best(const std::function<void()>& run) {
    return bench::BestMilliseconds([] {}, run, kRuns);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    clsPW store;
    bench::FillStore(store);
    store.SetFilename("/bench/Bench.QVS");
    qvs::CategoryTree tree([&]() -> clsPW& { return store; }, nullptr);
    tree.resize(300, 600);
    tree.show();
    const double load = Best([&] {
        tree.LoadTree();
        QApplication::processEvents(); // lay out and paint what was built
    });
    const double recount = Best([&] { tree.CalcNumber(1, 1); });
    int nodes = 0;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it)
        ++nodes;
    std::printf("entries %d, tree nodes %d\n", bench::kEntries, nodes);
    std::printf("LoadTree   %8.2f ms\nCalcNumber %8.2f ms\n", load, recount);
    return 0;
}
