// Times the main window with a large data file: opening it (reading the file
// and showing the root node) and switching between tree nodes, worst of a
// few runs each.
#include "app/file_commands.h"
#include "bench/bench_store.h"
#include "frame/language.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "mainwin/category_tree.h"
#include "mainwin/entry_grid.h"
#include "mainwin/frm_main.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace {

using ardeko::clsPW;

constexpr int kRuns = 3;

QString WriteBigFile(const QTemporaryDir& dir) {
    clsPW store;
    store.NewFile();
    bench::FillStore(store);
    store.SetFilePW(bench::kFilePassword);
    const QString path = dir.filePath(QStringLiteral("Bench.QVS"));
    if (!store.SaveFile(path.toStdString(), false, false)) qFatal("cannot write the data file");
    return path;
}

double Milliseconds(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    QApplication::processEvents(); // lay out and paint what changed
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

// The slowest of a few runs.
double Worst(const std::function<void()>& run) {
    double worst = 0;
    for (int i = 0; i < kRuns; ++i)
        worst = std::max(worst, Milliseconds(run));
    return worst;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true); // keep the user's settings out of it
    QApplication app(argc, argv);
    QString code = QStringLiteral("ENG");
    if (!qvs::LoadLanguage(code)) return 1;
    qvs::Opt().AutoCheck = false; // no expiry dialog after the open
    QTemporaryDir dir;
    const QString path = WriteBigFile(dir);

    qvs::frmMain window;
    window.resize(1000, 700);
    window.show();
    QApplication::processEvents();
    const double open = Worst([&] {
        qvs::App().store = std::make_unique<clsPW>();
        qvs::OpenDataFile(path, QString::fromLatin1(bench::kFilePassword));
    });
    // Where the time of an open goes: reading the file, then the view.
    const double read = Worst([&] {
        qvs::App().store = std::make_unique<clsPW>();
        qvs::Store().LoadFile(path.toStdString(), bench::kFilePassword);
    });
    const double view = Worst([&] { window.UpdateView(QString()); });
    // Each switch goes from the node before it in the list.
    const char* keys[] = {"C1", "R", "S2C3", "P", "E2", "C0", "X1", "C20"};
    double worstSwitch = 0;
    for (int run = 0; run < kRuns; ++run)
        for (const char* key : keys)
            worstSwitch = std::max(
                worstSwitch, Milliseconds([&] { window.Tree()->SelectNode(QLatin1String(key)); }));
    std::printf("entries %d, rows at root after open %d\n", bench::kEntries,
                window.Tree()->Number(QStringLiteral("R")));
    std::printf("open + show root     %8.2f ms\n", open);
    std::printf("  of which read file %8.2f ms, UpdateView %8.2f ms\n", read, view);
    std::printf("switch node (worst)  %8.2f ms\n", worstSwitch);
    return open < 300 && worstSwitch < 300 ? 0 : 2;
}
