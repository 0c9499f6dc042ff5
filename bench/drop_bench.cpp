// Times a drop of 1,000 selected grid rows onto a category in the main
// window of a large store: the drag data, the re-filing in the store and the
// rebuilt view, worst of a few runs onto different categories.
#include "bench/bench_store.h"
#include "frame/language.h"
#include "frame/main_window_iface.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "mainwin/category_tree.h"
#include "mainwin/drop_commands.h"
#include "mainwin/entry_grid.h"
#include "mainwin/entry_grid_view.h"
#include "mainwin/frm_main.h"
#include "mainwin/node_key.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QStandardPaths>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int kRows = 1000;
constexpr double kLimitMs = 100;

double Milliseconds(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

QModelIndex NodeIndex(const qvs::CategoryTree& tree, const QString& key) {
    return tree.model()
        ->match(tree.model()->index(0, 0), qvs::CategoryTree::KeyRole, key, 1,
                Qt::MatchExactly | Qt::MatchRecursive)
        .value(0);
}

// Selects the first kRows rows of the root's listing.
void SelectRows(qvs::frmMain& window) {
    window.Tree()->SelectNode(QStringLiteral("R"));
    qvs::EntryGridModel* model = window.Grid()->model();
    const QItemSelection rows(model->index(0, 0),
                              model->index(kRows - 1, model->columnCount() - 1));
    window.Grid()->grdpw()->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true); // keep the user's settings out of it
    QApplication app(argc, argv);
    QString code = QStringLiteral("ENG");
    if (!qvs::LoadLanguage(code)) return 1;
    qvs::Opt().AutoCheck = false;
    qvs::Store().NewFile();
    bench::FillStore(qvs::Store());
    qvs::Store().SetFilename("/bench/Bench.QVS");

    qvs::frmMain window;
    window.resize(1000, 700);
    window.show();
    window.UpdateView(QString());
    QApplication::processEvents();

    double worst = 0;
    double worstView = 0;
    double worstStore = 0;
    for (int category : {5, 6, 7, 8, 9}) {
        SelectRows(window);
        const QModelIndexList selected = window.Grid()->grdpw()->selectionModel()->selectedRows();
        const QModelIndex target = NodeIndex(*window.Tree(), qvs::CategoryNodeKey(category));
        worst = std::max(
            worst, Milliseconds([&] {
                const std::unique_ptr<QMimeData> data(window.Grid()->model()->mimeData(selected));
                window.Tree()->model()->dropMimeData(data.get(), Qt::MoveAction, -1, -1, target);
                QApplication::processEvents(); // the drop and the rebuilt view
            }));
        worstView = std::max(worstView, Milliseconds([&] { window.UpdateView(QString()); }));
        // The same drop without a window to rebuild: the drag data and the
        // store's work alone.
        SelectRows(window);
        const qvs::DragPayload payload =
            *qvs::DecodeDrag(std::unique_ptr<QMimeData>(
                                 window.Grid()->model()->mimeData(
                                     window.Grid()->grdpw()->selectionModel()->selectedRows()))
                                 .get());
        qvs::SetCurrentMainWindow(nullptr);
        worstStore =
            std::max(worstStore, Milliseconds([&] {
                         qvs::DropOnNode(qvs::CategoryNodeKey(category + 5), payload, QString());
                     }));
        qvs::SetCurrentMainWindow(&window);
    }
    const auto moved = qvs::Store().PwInCat(qvs::Store().CatValue(7)).value_or(0);
    std::printf("entries %d, rows dropped %d, entries now in the last target %d\n", bench::kEntries,
                kRows, moved);
    std::printf("drop onto a category (worst) %8.2f ms\n", worst);
    std::printf("  of which rebuilding the view about %8.2f ms\n", worstView);
    std::printf("  the store's work alone (worst)    %8.2f ms\n", worstStore);
    return worst <= kLimitMs ? 0 : 2;
}
