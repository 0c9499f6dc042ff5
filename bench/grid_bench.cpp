// Times the entry grid on a large file with the view shown: listing every
// entry (ShowNode of the root), switching between a category and the root,
// sorting, and the root again with multi-line notes shown in full. Each
// figure includes the view's relayout and one paint; best of a few runs.
#include "entry_grid.h"
#include "entry_grid_view.h"
#include "options.h"
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
const double kToday = ardeko::VbDatePart(ardeko::LocalNow());

std::string Numbered(const char* prefix, int n) {
    char text[32];
    std::snprintf(text, sizeof text, "%s %05d", prefix, n);
    return text;
}

std::int16_t Code(int n) {
    return static_cast<std::int16_t>(n);
}

// Entries over every category and subcategory, some with dates around
// today, one in ten with notes of several lines.
ardeko::T_Password MakeEntry(int i) {
    ardeko::T_Password p;
    p.service = Numbered("Service", (i * 7919) % kEntries); // not in creation order
    p.Codcat = Code(i % (kCategories + 1));
    const int sub = i % (kSubCategoriesPerCategory + 1);
    p.CodSCat = p.Codcat && sub ? Code((p.Codcat - 1) * kSubCategoriesPerCategory + sub) : 0;
    p.User = Numbered("user", i % 977);
    p.pw = Numbered("secret", i);
    p.Email = p.User + "@mail.example";
    p.URL_Access = "https://www.example.org/" + std::to_string(i);
    p.Descr = i % 10 == 0 ? "First line\nSecond line\nThird line" : "One line of notes";
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
}

// Lets the view lay out and paint what it was given.
void Settle(qvs::EntryGrid& grid) {
    QApplication::processEvents();
    grid.grdpw()->viewport()->repaint();
}

double BestMilliseconds(const std::function<void()>& prepare, const std::function<void()>& run) {
    double best = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void Report(const char* what, double ms) {
    std::printf("%-36s %8.2f ms\n", what, ms);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    clsPW store;
    FillStore(store);
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

    std::printf("entries %d\n", kEntries);
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
