// The open / new / recent-files window driven through ChooseDataFile as a
// user would: page rules, list events, the hosted file panel and the result.
#include "tests/frame/modal_script.h"
#include "tests/frame/test_language.h"

#include "dialogs/files/choose_data_file.h"
#include "dialogs/files/data_file_panel.h"
#include "dialogs/files/frm_load_save.h"
#include "frame/help.h"
#include "frame/modal_stack.h"
#include "frame/options.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

using qvs::frmLoadSave;

namespace {

template <class T> T* Child(QWidget* w, const char* name) {
    return w->findChild<T*>(QString::fromLatin1(name));
}

QTabWidget* Strip(frmLoadSave* w) {
    return Child<QTabWidget>(w, "tabStrip");
}

QStringList TabTexts(frmLoadSave* w) {
    QStringList texts;
    for (int i = 0; i < Strip(w)->count(); ++i)
        texts << Strip(w)->tabText(i);
    return texts;
}

// Clicks the strip at the page with this caption, as the user would.
void ClickPage(frmLoadSave* w, int captionId) {
    QTabBar* bar = Strip(w)->tabBar();
    const int index = TabTexts(w).indexOf(TestLanguage::Text(captionId));
    QVERIFY(index >= 0);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

void DoubleClickRow(QTreeWidget* list, int row) {
    QTreeWidgetItem* item = list->topLevelItem(row);
    QVERIFY(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

QLineEdit* PanelNameBox(frmLoadSave* w) {
    return Child<QLineEdit>(Child<QFileDialog>(w, "cD"), "fileNameEdit");
}

QPushButton* PanelButton(frmLoadSave* w, QDialogButtonBox::StandardButton which) {
    return Child<QDialogButtonBox>(Child<QFileDialog>(w, "cD"), "buttonBox")->button(which);
}

// Names the panel lists in its current folder, sorted.
QStringList PanelNames(frmLoadSave* w) {
    auto* view = Child<QListView>(Child<QFileDialog>(w, "cD"), "listView");
    QStringList names;
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
        names << view->model()->index(row, 0, view->rootIndex()).data().toString();
    names.sort();
    return names;
}

// A step for the window that closes it when a check failed (a failed check
// returns from the step early), or the test would hang.
std::function<void(frmLoadSave*)> Step(std::function<void(frmLoadSave*)> action) {
    return [action](frmLoadSave* w) {
        action(w);
        if (QTest::currentTestFailed()) w->reject();
    };
}

void Touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class TestLoadSave : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { QCOMPARE(qvs::ModalDepth(), 0); }

    void splitsAndJoinsFolders();
    void withoutNewOnlyOpenAndRecent();
    void emptyRecentListOffersNoOK();
    void recentRowsAndDoubleClick();
    void firstClickOnRecentEntersIt();
    void newPageReturnsTheMarker();
    void newOpenNeedsASelectedKind();
    void typedNameSurvivesPageChanges();
    void panelListsDataFilesInAnyCase();
    void panelConfirmsTypedNames();
    void panelCancelAndEscapeReturnNothing();

private:
    void SetRecent(const QStringList& paths);

    TestLanguage language_{{10, 11, 8000, 8001, 8002, 8003, 8004, 8007, 8008, 8009, 30002}};
    std::unique_ptr<QTemporaryDir> folder_;
    QDir dir_;
};

void TestLoadSave::init() {
    // A folder of its own per test: the panel lists everything in it.
    folder_ = std::make_unique<QTemporaryDir>();
    dir_.setPath(folder_->path());
    qvs::Opt().Recent.Clear();
    qvs::Opt().Path = dir_.path();
}

void TestLoadSave::SetRecent(const QStringList& paths) {
    qvs::Opt().Recent.Clear();
    for (auto it = paths.rbegin(); it != paths.rend(); ++it)
        qvs::Opt().Recent.Add(*it, 10);
}

void TestLoadSave::splitsAndJoinsFolders() {
    using qvs::JoinFolderAndName;
    using qvs::SplitFolderAndName;
    const auto split = SplitFolderAndName(QStringLiteral("/home/anna/My Files/bank.QVS"));
    QCOMPARE(split.folder, QStringLiteral("/home/anna/My Files"));
    QCOMPARE(split.name, QStringLiteral("bank.QVS"));
    QCOMPARE(SplitFolderAndName(QStringLiteral("/bank.QVS")).folder, QStringLiteral("/"));
    QCOMPARE(SplitFolderAndName(QStringLiteral("bank.QVS")).folder, QString());
    QCOMPARE(SplitFolderAndName(QStringLiteral("bank.QVS")).name, QStringLiteral("bank.QVS"));

    QCOMPARE(JoinFolderAndName("/home/anna", "a.QVS"), QStringLiteral("/home/anna/a.QVS"));
    QCOMPARE(JoinFolderAndName("/home/anna/", "a.QVS"), QStringLiteral("/home/anna/a.QVS"));
    QCOMPARE(JoinFolderAndName("/", "a.QVS"), QStringLiteral("/a.QVS"));
    QCOMPARE(JoinFolderAndName("", "a.QVS"), QStringLiteral("a.QVS"));
    for (const char* path : {"/x/y/z.qvs", "/z.qvs", "z.qvs"}) {
        const auto parts = SplitFolderAndName(QString::fromLatin1(path));
        QCOMPARE(JoinFolderAndName(parts.folder, parts.name), QString::fromLatin1(path));
    }
}

void TestLoadSave::withoutNewOnlyOpenAndRecent() {
    SetRecent({dir_.filePath(QStringLiteral("a.QVS"))});
    ModalScript script;
    script.On<frmLoadSave>(Step([](frmLoadSave* w) {
        QCOMPARE(w->windowTitle(), TestLanguage::Text(8000));
        QCOMPARE(TabTexts(w), QStringList({TestLanguage::Text(8008), TestLanguage::Text(8009)}));
        QCOMPARE(w->CurrentPageKey(), QStringLiteral("LOAD"));
        QCOMPARE(qvs::HelpTopic(w), 29);
        QVERIFY(!w->IsNew());
        for (const char* name : {"cmdNewOpen", "CmdNewCancel", "grdNew"}) {
            auto* control = Child<QWidget>(w, name);
            QVERIFY2(!control || !control->isVisible(), name);
        }
        ClickPage(w, 8009);
        QCOMPARE(qvs::HelpTopic(w), 30);
        ClickPage(w, 8008);
        QVERIFY(!w->IsNew());
        w->reject();
    }));
    script.Start();
    QCOMPARE(qvs::ChooseDataFile(false), QString());
    QVERIFY(script.Done());
}

void TestLoadSave::emptyRecentListOffersNoOK() {
    ModalScript script;
    script.On<frmLoadSave>(Step([](frmLoadSave* w) {
        PanelNameBox(w)->setText(QStringLiteral("typed.QVS"));
        ClickPage(w, 8009);
        QCOMPARE(w->CurrentPageKey(), QStringLiteral("RECENT"));
        QCOMPARE(Child<QTreeWidget>(w, "grdRecent")->topLevelItemCount(), 0);
        auto* ok = Child<QPushButton>(w, "cmdOK");
        QVERIFY(!ok->isVisible() && !ok->isEnabled());
        QVERIFY(Child<QPushButton>(w, "cmdCancel")->isVisible());
        QCOMPARE(w->Filename(), QString());
        QTest::keyClick(w, Qt::Key_Return); // no OK to press
        QVERIFY(w->isVisible());
        Child<QPushButton>(w, "cmdCancel")->click();
    }));
    script.Start();
    QCOMPARE(qvs::ChooseDataFile(true), QString());
    QVERIFY(script.Done());
}

void TestLoadSave::recentRowsAndDoubleClick() {
    const QString present = dir_.filePath(QStringLiteral("here.QVS"));
    Touch(present);
    const QString gone = QStringLiteral("/no/such/folder/gone.QVS");
    SetRecent({present, gone});
    ModalScript script;
    script.On<frmLoadSave>(Step([&](frmLoadSave* w) {
        ClickPage(w, 8009);
        auto* list = Child<QTreeWidget>(w, "grdRecent");
        QCOMPARE(list->headerItem()->text(0), TestLanguage::Text(8003));
        QCOMPARE(list->headerItem()->text(1), TestLanguage::Text(8004));
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("here.QVS"));
        QCOMPARE(list->topLevelItem(0)->text(1), dir_.path());
        QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("/no/such/folder"));
        QVERIFY(!list->topLevelItem(0)->icon(0).isNull());
        // The gone file is still offered, but looks different.
        QVERIFY(!list->topLevelItem(0)->font(0).italic());
        QVERIFY(list->topLevelItem(1)->font(0).italic());
        QCOMPARE(w->Filename(), present); // the first row starts selected
        DoubleClickRow(list, 1);
    }));
    script.Start();
    QCOMPARE(qvs::ChooseDataFile(true), gone);
    QVERIFY(script.Done());
}

void TestLoadSave::firstClickOnRecentEntersIt() {
    const QString first = dir_.filePath(QStringLiteral("first.QVS"));
    const QString second = dir_.filePath(QStringLiteral("second.QVS"));
    SetRecent({first, second});
    ModalScript script;
    script.On<frmLoadSave>(Step([&](frmLoadSave* w) {
        QVERIFY(w->IsNew());
        ClickPage(w, 8009);
        QVERIFY(!w->IsNew());
        QCOMPARE(w->CurrentPageKey(), QStringLiteral("RECENT"));
        QCOMPARE(w->Filename(), first);
        auto* list = Child<QTreeWidget>(w, "grdRecent");
        list->setCurrentItem(list->topLevelItem(1));
        QCOMPARE(w->Filename(), second);
        ClickPage(w, 8009); // the current page: nothing changes
        QCOMPARE(w->Filename(), second);
        QCOMPARE(list->currentItem(), list->topLevelItem(1));
        Child<QPushButton>(w, "cmdOK")->click();
    }));
    script.Start();
    QCOMPARE(qvs::ChooseDataFile(true), second);
    QVERIFY(script.Done());
}

void TestLoadSave::newPageReturnsTheMarker() {
    ModalScript script;
    script.On<frmLoadSave>(Step([](frmLoadSave* w) {
        QCOMPARE(TabTexts(w), QStringList({TestLanguage::Text(8007), TestLanguage::Text(8008),
                                           TestLanguage::Text(8009)}));
        QCOMPARE(w->CurrentPageKey(), QStringLiteral("NEW"));
        QCOMPARE(qvs::HelpTopic(w), 28);
        QVERIFY(w->IsNew());
        auto* list = Child<QTreeWidget>(w, "grdNew");
        QCOMPARE(list->headerItem()->text(0), TestLanguage::Text(8002));
        QCOMPARE(list->topLevelItemCount(), 1);
        QVERIFY(!list->topLevelItem(0)->icon(0).isNull());
        QCOMPARE(w->Filename(), TestLanguage::Text(8001));
        QVERIFY(Child<QPushButton>(w, "cmdNewOpen")->isVisible());
        QVERIFY(Child<QPushButton>(w, "CmdNewCancel")->isVisible());
        ClickPage(w, 8008);
        QVERIFY(!w->IsNew());
        ClickPage(w, 8007);
        QVERIFY(w->IsNew());
        QCOMPARE(w->Filename(), TestLanguage::Text(8001));
        DoubleClickRow(list, 0);
    }));
    script.Start();
    QCOMPARE(qvs::ChooseDataFile(true), TestLanguage::Text(30002));
    QVERIFY(script.Done());
}

void TestLoadSave::newOpenNeedsASelectedKind() {
    ModalScript script;
    script.On<frmLoadSave>(Step([](frmLoadSave* w) {
        Child<QTreeWidget>(w, "grdNew")->clearSelection();
        QCOMPARE(w->Filename(), QString());
        Child<QPushButton>(w, "cmdNewOpen")->click();
        QTest::keyClick(Child<QTreeWidget>(w, "grdNew"), Qt::Key_Return);
        QVERIFY(w->isVisible());
        QVERIFY(w->Cancelled());
        Child<QPushButton>(w, "CmdNewCancel")->click();
    }));
    script.Start();
    QCOMPARE(qvs::ChooseDataFile(true), QString());
}

void TestLoadSave::typedNameSurvivesPageChanges() {
    const QString recent = dir_.filePath(QStringLiteral("recent.QVS"));
    SetRecent({recent});
    // Over 128 characters: none of it may be lost on the way.
    const QString typed = QString(150, u'n') + QStringLiteral(".QVS");
    ModalScript script;
    script.On<frmLoadSave>(Step([&](frmLoadSave* w) {
        QTest::keyClicks(PanelNameBox(w), typed);
        ClickPage(w, 8009);
        QCOMPARE(w->Filename(), recent);
        ClickPage(w, 8008);
        QCOMPARE(PanelNameBox(w)->text(), typed);
        QCOMPARE(w->Filename(), typed);
        w->reject();
    }));
    script.Start();
    QCOMPARE(qvs::ChooseDataFile(false), QString());
    QVERIFY(script.Done());
}

void TestLoadSave::panelListsDataFilesInAnyCase() {
    for (const char* name : {"foo.QVS", "bar.qvs", "baz.Qvs", "other.txt", "qvs"})
        Touch(dir_.filePath(QString::fromLatin1(name)));
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("sub")));
    ModalScript script;
    script.On<frmLoadSave>(Step([&](frmLoadSave* w) {
        auto* panel = Child<QFileDialog>(w, "cD");
        QVERIFY(panel->isVisible());
        QVERIFY(!panel->isWindow());
        QCOMPARE(panel->nameFilters(), QStringList(qvs::DataFileNameFilter()));
        QCOMPARE(panel->defaultSuffix(), QStringLiteral("QVS"));
        QCOMPARE(QDir(panel->directory()).canonicalPath(), QDir(dir_.path()).canonicalPath());
        QTRY_COMPARE(PanelNames(w),
                     QStringList({QStringLiteral("bar.qvs"), QStringLiteral("baz.Qvs"),
                                  QStringLiteral("foo.QVS"), QStringLiteral("sub")}));
        w->reject();
    }));
    script.Start();
    QCOMPARE(qvs::ChooseDataFile(false), QString());
    QVERIFY(script.Done());
}

void TestLoadSave::panelConfirmsTypedNames() {
    Touch(dir_.filePath(QStringLiteral("foo.QVS")));
    Touch(dir_.filePath(QStringLiteral("bar.qvs")));
    const auto typeAndConfirm = [](const QString& text, bool byButton) {
        return [text, byButton](frmLoadSave* w) {
            QLineEdit* box = PanelNameBox(w);
            box->setFocus();
            QTest::keyClicks(box, text);
            if (byButton)
                PanelButton(w, QDialogButtonBox::Open)->click();
            else
                QTest::keyClick(box, Qt::Key_Return);
        };
    };
    ModalScript byReturn;
    byReturn.On<frmLoadSave>(Step(typeAndConfirm(QStringLiteral("foo"), false))); // default suffix
    byReturn.Start();
    QCOMPARE(qvs::ChooseDataFile(false), dir_.filePath(QStringLiteral("foo.QVS")));

    ModalScript byButton;
    byButton.On<frmLoadSave>(Step([&](frmLoadSave* w) {
        ClickPage(w, 8008); // from the New page: the result is the file, not the marker
        typeAndConfirm(QStringLiteral("bar.qvs"), true)(w);
    }));
    byButton.Start();
    QCOMPARE(qvs::ChooseDataFile(true), dir_.filePath(QStringLiteral("bar.qvs")));
    QVERIFY(byButton.Done());
}

void TestLoadSave::panelCancelAndEscapeReturnNothing() {
    ModalScript inPanel;
    inPanel.On<frmLoadSave>(Step([](frmLoadSave* w) {
        QTest::keyClicks(PanelNameBox(w), QStringLiteral("typed.QVS"));
        QTest::keyClick(PanelNameBox(w), Qt::Key_Escape);
    }));
    inPanel.Start();
    QCOMPARE(qvs::ChooseDataFile(false), QString());

    // Leaving the New page for the Open page's Cancel: nothing either.
    ModalScript button;
    button.On<frmLoadSave>(Step([](frmLoadSave* w) {
        ClickPage(w, 8008);
        PanelButton(w, QDialogButtonBox::Cancel)->click();
    }));
    button.Start();
    QCOMPARE(qvs::ChooseDataFile(true), QString());
    QVERIFY(button.Done());
}

QTEST_MAIN(TestLoadSave)
#include "tst_load_save.moc"
