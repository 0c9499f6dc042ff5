#include "dialogs/files/frm_load_save.h"

#include "dialogs/files/data_file_panel.h"
#include "dialogs/text_ids.h"
#include "frame/help.h"
#include "frame/language.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

namespace qvs {

namespace {

constexpr int kHelpNew = 28;
constexpr int kHelpOpen = 29;
constexpr int kHelpRecent = 30;
constexpr int kPathRole = Qt::UserRole;

// A read-only, single-selection, whole-row list with one header per
// (text id, width) pair; rows are as high as their icons.
QTreeWidget* MakeList(QWidget* parent, const char* name, int iconSize,
                      std::initializer_list<std::pair<int, int>> columns) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setIconSize(QSize(iconSize, iconSize));
    list->setColumnCount(int(columns.size()));
    QStringList headers;
    for (const auto& column : columns)
        headers << GetLocalText(column.first);
    list->setHeaderLabels(headers);
    int index = 0;
    for (const auto& column : columns)
        list->setColumnWidth(index++, column.second);
    return list;
}

QPushButton* MakeButton(QWidget* parent, const char* name, int textId) {
    auto* button = new QPushButton(GetLocalText(textId), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// A row of buttons pushed to the right, under a list.
QHBoxLayout* ButtonRow(QPushButton* first, QPushButton* second) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(first);
    row->addWidget(second);
    return row;
}

void SelectFirstRow(QTreeWidget* list) {
    if (list->topLevelItemCount() > 0) list->setCurrentItem(list->topLevelItem(0));
}

// A recent file that is gone is still listed, greyed, so that choosing it
// gives the usual "cannot be opened" message instead of vanishing silently.
void MarkMissing(QTreeWidgetItem* item, const QPalette& palette) {
    const QBrush grey = palette.brush(QPalette::Disabled, QPalette::Text);
    for (int column = 0; column < item->columnCount(); ++column) {
        item->setForeground(column, grey);
        QFont font = item->font(column);
        font.setItalic(true);
        item->setFont(column, font);
    }
}

} // namespace

frmLoadSave::frmLoadSave(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmLoadSave"));
    resize(640, 460);
}

void frmLoadSave::AddNewType(const QString& text, const QString& iconKey) {
    newTypes_.push_back({text, iconKey});
}

void frmLoadSave::AddExistItem(const QString& fileName, const QString& folder,
                               const QDateTime& modified, const QString& iconKey) {
    existItems_.push_back({fileName, folder, modified, iconKey});
}

void frmLoadSave::ShowModal() {
    Load();
    ExecModal(*this);
}

// Texts are set by number here rather than through LocalizeForm: the hosted
// file panel lists folder names, and a folder called "8000" must stay so.
void frmLoadSave::Load() {
    cancelled_ = true;
    setWindowTitle(GetLocalText(text::kLoadSaveCaption));
    tabStrip_ = new QTabWidget(this);
    tabStrip_->setObjectName(QStringLiteral("tabStrip"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabStrip_);
    if (showNew_) AddPage(BuildNewPage(), kNewPage, 8007);
    AddPage(BuildOpenPage(), kOpenPage, 8008);
    AddPage(BuildRecentPage(), kRecentPage, 8009);
    FillRecentList();
    if (showNew_) FillNewList();
    tabStrip_->setCurrentIndex(0);
    connect(tabStrip_, &QTabWidget::currentChanged, this, &frmLoadSave::ChangePage);
    ChangePage(0);
}

void frmLoadSave::AddPage(QWidget* page, const char* key, int textId) {
    page->setObjectName(QStringLiteral("page") + QString::fromLatin1(key));
    tabStrip_->addTab(page, GetLocalText(textId));
    pageKeys_ << QString::fromLatin1(key);
}

QWidget* frmLoadSave::BuildNewPage() {
    auto* page = new QWidget;
    grdNew_ = MakeList(page, "grdNew", ImageList::Large, {{8002, 256}});
    cmdNewOpen_ = MakeButton(page, "cmdNewOpen", 10);
    CmdNewCancel_ = MakeButton(page, "CmdNewCancel", 11);
    cmdNewOpen_->setDefault(true);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(grdNew_);
    layout->addLayout(ButtonRow(cmdNewOpen_, CmdNewCancel_));
    connect(grdNew_, &QTreeWidget::itemSelectionChanged, this, &frmLoadSave::OnNewSelection);
    connect(grdNew_, &QTreeWidget::itemDoubleClicked, cmdNewOpen_, &QPushButton::click);
    connect(cmdNewOpen_, &QPushButton::clicked, this, &frmLoadSave::OnNewOpen);
    connect(CmdNewCancel_, &QPushButton::clicked, this, &QDialog::reject);
    return page;
}

QWidget* frmLoadSave::BuildOpenPage() {
    auto* page = new QWidget;
    cD_ = CreateDataFilePanel(page, startFolder_);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cD_);
    connect(cD_, &QFileDialog::fileSelected, this, &frmLoadSave::OnPanelSelected);
    connect(cD_, &QDialog::rejected, this, &QDialog::reject);
    return page;
}

QWidget* frmLoadSave::BuildRecentPage() {
    auto* page = new QWidget;
    grdRecent_ = MakeList(page, "grdRecent", ImageList::Small, {{8003, 180}, {8004, 360}});
    cmdOK_ = MakeButton(page, "cmdOK", 10);
    cmdCancel_ = MakeButton(page, "cmdCancel", 11);
    cmdOK_->setDefault(true);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(grdRecent_);
    layout->addLayout(ButtonRow(cmdOK_, cmdCancel_));
    connect(grdRecent_, &QTreeWidget::itemSelectionChanged, this, &frmLoadSave::OnRecentSelection);
    connect(grdRecent_, &QTreeWidget::itemDoubleClicked, this, &frmLoadSave::OnRecentConfirm);
    connect(cmdOK_, &QPushButton::clicked, this, [this] { Confirm(filename_); });
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    return page;
}

void frmLoadSave::FillNewList() {
    const QSignalBlocker quiet(grdNew_);
    for (const NewType& type : newTypes_) {
        auto* item = new QTreeWidgetItem(grdNew_, QStringList{type.text});
        item->setIcon(0, newIcons_.Icon(type.iconKey));
    }
    SelectFirstRow(grdNew_);
}

void frmLoadSave::FillRecentList() {
    const QSignalBlocker quiet(grdRecent_);
    for (const ExistItem& entry : existItems_) {
        auto* item = new QTreeWidgetItem(grdRecent_, QStringList{entry.fileName, entry.folder});
        item->setIcon(0, existingIcons_.Icon(entry.iconKey));
        const QString path = JoinFolderAndName(entry.folder, entry.fileName);
        item->setData(0, kPathRole, path);
        if (!QFileInfo::exists(path)) MarkMissing(item, palette());
    }
    SelectFirstRow(grdRecent_);
}

// Entering a page again is a no-op, so the user's state there survives.
void frmLoadSave::ChangePage(int index) {
    const QString key = pageKeys_.value(index);
    if (key.isEmpty() || key == currentKey_) return;
    LeavePage(currentKey_);
    currentKey_ = key;
    if (key == QLatin1String(kNewPage)) EnterNewPage();
    if (key == QLatin1String(kOpenPage)) EnterOpenPage();
    if (key == QLatin1String(kRecentPage)) EnterRecentPage();
}

void frmLoadSave::LeavePage(const QString& key) {
    if (key == QLatin1String(kNewPage)) isNew_ = false;
    if (key == QLatin1String(kOpenPage)) savedFileNameText_ = PanelFileNameText();
}

void frmLoadSave::EnterNewPage() {
    SetHelpTopic(this, kHelpNew);
    isNew_ = true;
    tabStrip_->tabBar()->setFocus();
    filename_ = SelectedNewText();
}

void frmLoadSave::EnterOpenPage() {
    SetHelpTopic(this, kHelpOpen);
    filename_ = savedFileNameText_;
    tabStrip_->tabBar()->setFocus();
    SetPanelFileNameText(savedFileNameText_);
}

void frmLoadSave::EnterRecentPage() {
    SetHelpTopic(this, kHelpRecent);
    tabStrip_->tabBar()->setFocus();
    const bool hasRows = grdRecent_->topLevelItemCount() > 0;
    cmdOK_->setEnabled(hasRows);
    cmdOK_->setVisible(hasRows);
    filename_ = SelectedRecentPath();
}

void frmLoadSave::OnNewSelection() {
    filename_ = SelectedNewText();
}

void frmLoadSave::OnNewOpen() {
    if (grdNew_->selectedItems().isEmpty()) return;
    Confirm(SelectedNewText());
}

void frmLoadSave::OnRecentSelection() {
    filename_ = SelectedRecentPath();
}

void frmLoadSave::OnRecentConfirm() {
    Confirm(SelectedRecentPath());
}

// The panel has hidden itself by now; close from the event loop rather than
// from inside its accept.
void frmLoadSave::OnPanelSelected(const QString& path) {
    cancelled_ = false;
    filename_ = path;
    QTimer::singleShot(0, this, &QDialog::accept);
}

void frmLoadSave::Confirm(const QString& filename) {
    filename_ = filename;
    cancelled_ = false;
    accept();
}

QString frmLoadSave::SelectedNewText() const {
    const auto selected = grdNew_ ? grdNew_->selectedItems() : QList<QTreeWidgetItem*>();
    return selected.isEmpty() ? QString() : selected.first()->text(0);
}

QString frmLoadSave::SelectedRecentPath() const {
    const auto selected = grdRecent_->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->data(0, kPathRole).toString();
}

QString frmLoadSave::PanelFileNameText() const {
    const auto* box = cD_->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    return box ? box->text() : QString();
}

void frmLoadSave::SetPanelFileNameText(const QString& text) {
    if (auto* box = cD_->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) box->setText(text);
}

} // namespace qvs
