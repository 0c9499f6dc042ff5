#include "mainwin/main_layout.h"

#include "frame/settings_store.h"
#include "mainwin/entry_grid.h"
#include "mainwin/entry_grid_columns.h"

#include <QSplitter>
#include <QStatusBar>

#include <numeric>

namespace qvs {

namespace {

constexpr int kAscending = 1;
constexpr int kDescending = 2;

// The splitter state of a hidden first panel; the second panel's is one more.
int FirstHiddenState(const QSplitter* splitter) {
    return splitter->orientation() == Qt::Horizontal ? 1 : 3;
}

// A hidden panel has no size: the position it had is kept instead.
int SplitterPosition(const QSplitter* splitter, int remembered) {
    const QList<int> sizes = splitter->sizes();
    if (SplitterHideState(splitter) != 0 || sizes.size() < 2 || sizes[0] <= 0) return remembered;
    return sizes[0];
}

void SetSplitterPosition(QSplitter* splitter, int position) {
    if (position <= 0) return;
    const QList<int> sizes = splitter->sizes();
    const int total = std::max(std::accumulate(sizes.begin(), sizes.end(), 0), position + 1);
    splitter->setSizes({position, total - position});
}

QString ColumnName(const char* word, int column) {
    return QLatin1String(word) + QString::number(column + 1);
}

void SaveSplitter(SettingsStore& s, const QSplitter* splitter, const QString& hideKey,
                  const QString& centreKey) {
    s.WriteNumber(hideKey, SplitterHideState(splitter));
    s.WriteNumber(centreKey, SplitterPosition(splitter, s.ReadNumber(centreKey, 0)));
}

void LoadSplitter(const SettingsStore& s, QSplitter* splitter, const QString& hideKey,
                  const QString& centreKey) {
    SetSplitterHideState(splitter, s.ReadNumber(hideKey, SplitterHideState(splitter)));
    SetSplitterPosition(splitter, s.ReadNumber(centreKey, 0));
}

void SaveColumns(SettingsStore& s, const EntryGrid& grid) {
    for (int c = GridColumn::Service; c < GridColumn::Count; ++c) {
        s.WriteFlag(ColumnName("ColVis", c), grid.ColumnVisible(c));
        s.WriteNumber(ColumnName("ColWidth", c), grid.ColumnWidth(c));
    }
    s.WriteFlag(QStringLiteral("Sorted"), grid.IsSorted());
    if (!grid.IsSorted()) return;
    s.WriteNumber(QStringLiteral("SortCol"), grid.SortColumn() + 1);
    s.WriteNumber(QStringLiteral("SortOrd"),
                  grid.SortOrder() == Qt::DescendingOrder ? kDescending : kAscending);
}

void LoadColumns(const SettingsStore& s, EntryGrid& grid) {
    for (int c = GridColumn::Service; c < GridColumn::Count; ++c) {
        grid.SetColumnVisible(c, s.ReadFlag(ColumnName("ColVis", c), true));
        const int width = s.ReadNumber(ColumnName("ColWidth", c), 0);
        if (width > 0) grid.SetColumnWidth(c, width);
    }
    if (!s.ReadFlag(QStringLiteral("Sorted"), false)) return;
    int column = s.ReadNumber(QStringLiteral("SortCol"), GridColumn::Service + 1) - 1;
    // A stored index that names no sortable column (an older or damaged
    // layout) falls back to the service name.
    if (column < GridColumn::Service || column >= GridColumn::Count) column = GridColumn::Service;
    const bool descending = s.ReadNumber(QStringLiteral("SortOrd"), kAscending) == kDescending;
    grid.SortGrid(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

} // namespace

int SplitterHideState(const QSplitter* splitter) {
    if (splitter->count() < 2) return 0;
    if (splitter->widget(0)->isHidden()) return FirstHiddenState(splitter);
    if (splitter->widget(1)->isHidden()) return FirstHiddenState(splitter) + 1;
    return 0;
}

// States of the other orientation, or unknown ones, show both panels.
void SetSplitterHideState(QSplitter* splitter, int state) {
    if (splitter->count() < 2) return;
    const int first = FirstHiddenState(splitter);
    splitter->widget(0)->setHidden(state == first);
    splitter->widget(1)->setHidden(state == first + 1);
}

void SaveMainLayout(const MainLayoutParts& parts, const QString& section) {
    SettingsStore s(section);
    QSplitter* inner = parts.grid->vbuSplitter2();
    s.WriteFlag(QStringLiteral("VTreeView"), !parts.vbuSplitter->widget(0)->isHidden());
    SaveSplitter(s, parts.vbuSplitter, QStringLiteral("VSplitterHide"),
                 QStringLiteral("VSplitterCenter"));
    s.WriteFlag(QStringLiteral("VStatusBar"), !parts.statusBar->isHidden());
    if (parts.toolbar) s.WriteNumber(QStringLiteral("VToolBar"), parts.toolbar->isHidden() ? 0 : 1);
    s.WriteFlag(QStringLiteral("VNotesView"), !inner->widget(1)->isHidden());
    SaveSplitter(s, inner, QStringLiteral("VSplitter2Hide"), QStringLiteral("VSplitter2Center"));
    SaveColumns(s, *parts.grid);
}

void LoadMainLayout(const MainLayoutParts& parts, const QString& section) {
    const SettingsStore s(section);
    LoadSplitter(s, parts.vbuSplitter, QStringLiteral("VSplitterHide"),
                 QStringLiteral("VSplitterCenter"));
    parts.statusBar->setHidden(
        !s.ReadFlag(QStringLiteral("VStatusBar"), !parts.statusBar->isHidden()));
    if (parts.toolbar) {
        const int shown = parts.toolbar->isHidden() ? 0 : 1;
        parts.toolbar->setHidden(s.ReadNumber(QStringLiteral("VToolBar"), shown) == 0);
    }
    LoadSplitter(s, parts.grid->vbuSplitter2(), QStringLiteral("VSplitter2Hide"),
                 QStringLiteral("VSplitter2Center"));
    LoadColumns(s, *parts.grid);
}

} // namespace qvs
