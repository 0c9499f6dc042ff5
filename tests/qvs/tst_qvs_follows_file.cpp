// The real program following its open file while another machine's version
// arrives as a sync tool delivers it (written aside, renamed over the file):
// without unsaved changes QVS reads it at once; with unsaved changes it asks,
// and neither Merge nor Keep mine (after which the save asks) loses either
// side's change. QVS runs on a headless desktop and reports what it did to the log
// named in QVS_TEST_EVENT_LOG; the test answers it with keys, as a user
// would. Skipped, with the reason, where no desktop can be started.
#include "store/pw.h"
#include "tests/autotype/x_desktop.h" // also marks the test as one on a desktop
#include "tests/qvs/desktop_fixture.h"

#include <QFile>
#include <QtTest>

#include <functional>

namespace {

constexpr int kWaitMs = DesktopFixture::kWaitMs;
constexpr char kPassword[] = "pw"; // a file without one would be offered one at the first save

ardeko::T_Password Entry(const char* name) {
    ardeko::T_Password p;
    p.service = name;
    p.Codcat = 1;
    p.User = std::string("user of ") + name;
    return p;
}

} // namespace

class TestQvsFollowsFile : public QObject {
    Q_OBJECT

    DesktopFixture desk_;
    QString file_;

    QString Path(const char* name) const { return desk_.Path(name); }
    QString Tool(const QStringList& arguments) const { return desk_.Tool(arguments); }
    bool Logged(const QString& start, int count = 1) const { return desk_.Logged(start, count); }
    QString WaitActiveTitled(const QString& title, const QString& other = {}) const {
        return desk_.WaitActiveTitled(title, other);
    }

    // What another machine does: reads the file, changes it, and puts the
    // new version in place in one rename.
    void ReplaceFile(const std::function<void(ardeko::clsPW&)>& change) const {
        ardeko::clsPW other;
        QVERIFY(other.LoadFile(file_.toStdString(), kPassword));
        change(other);
        QVERIFY(other.SaveFile(file_.toStdString(), false));
    }

    QString MainWindow() const {
        if (!desk_.Program()) return {};
        return WaitActiveTitled(QStringLiteral("QVS - ") + file_);
    }

    bool OnDisk(std::initializer_list<const char*> present,
                std::initializer_list<const char*> gone) {
        ardeko::clsPW disk;
        if (!disk.LoadFile(file_.toStdString(), kPassword)) return false;
        for (const char* name : present)
            if (!disk.Password().Contains(name)) return false;
        for (const char* name : gone)
            if (disk.Password().Contains(name)) return false;
        return true;
    }

private slots:
    void initTestCase() {
        const QString skip = desk_.SetUp();
        if (!skip.isEmpty()) QSKIP(qPrintable(skip));
        file_ = Path("Shared.QVS");
        ardeko::clsPW store;
        store.NewFile();
        store.CatAdd("Banks");
        for (const char* name : {"Alpha", "Beta"})
            QVERIFY(store.PWAdd(Entry(name)));
        store.SetFilePW(kPassword);
        QVERIFY(store.SaveFile(file_.toStdString(), false));
        desk_.WriteSettings("QVS", "[General]\nSettingsVersion=1.0\nLanguage=ENG\n"
                                   "ViewSplash=false\nViewTips=false\nViewWizard=false\n"
                                   "AutoCheck=false\nRemindDue=false\n");
    }
    void cleanupTestCase() { desk_.TearDown(); }

    void withoutUnsavedChangesTheNewVersionIsRead() {
        desk_.Start("QVS_BINARY", {file_});
        QVERIFY(!desk_.TypePassword(kPassword).isEmpty());
        QVERIFY(Logged("ready " + file_));
        ReplaceFile([](ardeko::clsPW& s) { QVERIFY(s.PWAdd(Entry("From B"))); });
        QVERIFY(Logged(QStringLiteral("reloaded Reloaded: changed on disk at ")));
    }

    // An unsaved change here (Alpha cut), another there (Gamma added): the
    // question comes, Merge and a save keep both.
    void withUnsavedChangesMergeKeepsBothSides() {
        const QString main = MainWindow();
        CutFirstEntry(main);
        if (QTest::currentTestFailed()) return;
        ReplaceFile([](ardeko::clsPW& s) { QVERIFY(s.PWAdd(Entry("Gamma"))); });
        QVERIFY(Logged("asked " + file_));
        const QString question = Answer("Return"); // Merge, the default
        QVERIFY(!question.isEmpty());
        QVERIFY(!Answer("Return", question).isEmpty()); // the summary
        QVERIFY(Logged("merged " + file_));
        QVERIFY(WaitActiveTitled(QStringLiteral("QVS - ") + file_) == main);
        Tool({"key", "ctrl+s"});
        QTRY_VERIFY_WITH_TIMEOUT(OnDisk({"Beta", "From B", "Gamma"}, {"Alpha"}), kWaitMs);
    }

    // Keep mine: the file stays unread, so the save asks first, and merging
    // then keeps the other version's change as well.
    void keptChangesAreMergedBeforeTheSave() {
        const QString main = MainWindow();
        CutFirstEntry(main); // Beta
        if (QTest::currentTestFailed()) return;
        ReplaceFile([](ardeko::clsPW& s) { QVERIFY(s.PWAdd(Entry("Delta"))); });
        QVERIFY(Logged("asked " + file_, 2));
        QVERIFY(!Answer("Escape").isEmpty()); // Keep mine
        QVERIFY(WaitActiveTitled(QStringLiteral("QVS - ") + file_) == main);
        Tool({"key", "ctrl+s"});
        const QString question = Answer("Return"); // Merge, then save
        QVERIFY(!question.isEmpty());
        QVERIFY(!Answer("Return", question).isEmpty()); // the summary
        QTRY_VERIFY_WITH_TIMEOUT(OnDisk({"From B", "Gamma", "Delta"}, {"Alpha", "Beta"}), kWaitMs);
        QCOMPARE(desk_.Program()->state(), QProcess::Running);
    }

    // The editor stays open while the file is reloaded; OK puts only what
    // was changed in it on top of the other machine's version.
    void anOpenEditorKeepsTheOtherMachinesChange() {
        const QString editor = EditFirstEntry("typed here");
        QVERIFY(!editor.isEmpty());
        const int reloads = Count("reloaded ");
        ReplaceFile([](ardeko::clsPW& s) {
            for (ardeko::T_Password p : s.Password()) {
                p.pw = "set elsewhere";
                QVERIFY(s.PWEdit(p, p.service));
            }
        });
        QVERIFY(Logged(QStringLiteral("reloaded "), reloads + 1));
        Tool({"windowactivate", "--sync", editor});
        Tool({"key", "Return"}); // OK
        QVERIFY(!MainWindow().isEmpty());
        Tool({"key", "ctrl+s"});
        QTRY_VERIFY_WITH_TIMEOUT(OnDiskEntry("typed here", "set elsewhere"), kWaitMs);
    }

    // Deleted on the other machine while open here: asked about, and kept
    // when the user says so.
    void anEntryDeletedElsewhereIsAskedAbout() {
        const QString editor = EditFirstEntry("edited again");
        QVERIFY(!editor.isEmpty());
        const int reloads = Count("reloaded ");
        ReplaceFile([](ardeko::clsPW& s) {
            for (const ardeko::T_Password& p : s.Password())
                if (p.User == "typed here") {
                    QVERIFY(s.PWDel(p.service));
                    return;
                }
            QFAIL("the edited entry is not in the file");
        });
        QVERIFY(Logged(QStringLiteral("reloaded "), reloads + 1));
        Tool({"windowactivate", "--sync", editor});
        Tool({"key", "Return"});                      // OK
        QVERIFY(!Answer("Return", editor).isEmpty()); // Keep it
        QVERIFY(!MainWindow().isEmpty());
        Tool({"key", "ctrl+s"});
        QTRY_VERIFY_WITH_TIMEOUT(OnDiskEntry("edited again", "set elsewhere"), kWaitMs);
    }

    // Locked, nothing of the new version is read or shown; the unlock
    // brings it.
    void whileLockedAChangeWaitsForTheUnlock() {
        const QString main = MainWindow();
        QVERIFY(!main.isEmpty());
        Tool({"key", "ctrl+l"});
        // QVS's main window logs no lock: a moment for it to take effect.
        QTest::qWait(500);
        const int reloads = Count("reloaded ");
        const int held = Count("held ");
        ReplaceFile([](ardeko::clsPW& s) { QVERIFY(s.PWAdd(Entry("While locked"))); });
        // QVS has looked at the new version, and kept it for the unlock.
        QVERIFY(Logged(QStringLiteral("held "), held + 1));
        QCOMPARE(Count("reloaded "), reloads);
        QCOMPARE(Tool({"getactivewindow"}), main); // no question, no summary
        Tool({"type", "--delay", "50", kPassword});
        Tool({"key", "Return"});
        QVERIFY(Logged(QStringLiteral("reloaded "), reloads + 1));
    }

    // Two machines saved at once: the sync tool kept the other version
    // beside the file. It is offered at once, merged in and moved aside.
    void aConflictCopyIsOfferedAndMergedIn() {
        QVERIFY(!MainWindow().isEmpty());
        const QString copy = Path("Shared.sync-conflict-20261208-140211-ABCDEF7.QVS");
        {
            ardeko::clsPW other;
            QVERIFY(other.LoadFile(file_.toStdString(), kPassword));
            QVERIFY(other.PWAdd(Entry("Only in the copy")));
            QVERIFY(other.SaveFile(copy.toStdString(), false));
        }
        QVERIFY(Logged("conflict-copy " + copy));
        const QString question = Answer("Return"); // Merge it in
        QVERIFY(!question.isEmpty());
        QVERIFY(!Answer("Return", question).isEmpty()); // the summary
        QVERIFY(Logged(QStringLiteral("copy-merged ")));
        QVERIFY(!QFile::exists(copy));
        QVERIFY(QFile::exists(copy + QStringLiteral(".merged")));
        QVERIFY(!MainWindow().isEmpty());
        Tool({"key", "ctrl+s"});
        QTRY_VERIFY_WITH_TIMEOUT(OnDisk({"Only in the copy", "While locked"}, {}), kWaitMs);
    }

private:
    int Count(const char* start) const { return desk_.Count(QLatin1String(start)); }

    bool OnDiskEntry(const char* user, const char* password) const {
        ardeko::clsPW disk;
        if (!disk.LoadFile(file_.toStdString(), kPassword)) return false;
        for (const ardeko::T_Password& p : disk.Password())
            if (p.User == user && p.pw == password) return true;
        return false;
    }

    // Opens the first entry of the list in the editor and types user as its
    // user name; the editor's window id.
    QString EditFirstEntry(const char* user) const {
        const QString main = MainWindow();
        if (main.isEmpty()) return {};
        Tool({"key", "--delay", "150", "Tab", "Down", "Up", "F4"});
        const QString editor = WaitActiveTitled(QStringLiteral("Entry"), main);
        if (editor.isEmpty()) return {};
        Tool({"key", "--delay", "100", "Tab", "ctrl+a"});
        Tool({"type", "--delay", "30", user});
        return editor;
    }

    // Cuts the first entry of the list, moving there from the tree, which
    // has the focus at start and after a merge. Opening another file then
    // asks about the unsaved change, which proves it was made before the
    // file is replaced; Escape cancels the opening.
    void CutFirstEntry(const QString& main) const {
        // Moving in the list selects a row.
        Tool({"key", "--delay", "150", "Tab", "Down", "Up", "ctrl+x", "ctrl+o"});
        QVERIFY(!Answer("Escape", main).isEmpty());
        QVERIFY(WaitActiveTitled(QStringLiteral("QVS - ") + file_) == main);
    }

    // Waits for a message box of the program (not other, one answered
    // before) and answers it with key; "" when none came.
    QString Answer(const char* key, const QString& other = {}) const {
        const QString box = WaitActiveTitled(QStringLiteral("QVS"), other);
        if (!box.isEmpty()) Tool({"key", key});
        return box;
    }
};

QTEST_MAIN(TestQvsFollowsFile)
#include "tst_qvs_follows_file.moc"
