// The real program following its open file while another machine's version
// arrives as a sync tool delivers it (written aside, renamed over the file):
// without unsaved changes QVS reads it at once; with unsaved changes it asks,
// and neither Merge nor Keep mine (after which the save asks) loses either
// side's change. QVS runs on a headless desktop and reports what it did to the log
// named in QVS_TEST_EVENT_LOG; the test answers it with keys, as a user
// would. Skipped, with the reason, where no desktop can be started.
#include "store/pw.h"
#include "tests/autotype/x_desktop.h" // also marks the test as one on a desktop
#include "tests/qvs/desktop_home.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

constexpr int kWaitMs = 20000;
constexpr char kPassword[] = "pw"; // a file without one would be offered one at the first save

ardeko::T_Password Entry(const char* name) {
    ardeko::T_Password p;
    p.service = name;
    p.Codcat = 1;
    p.User = std::string("user of ") + name;
    return p;
}

void WriteSettings(const QString& configFolder) {
    QDir().mkpath(configFolder + QStringLiteral("/Tarnwick"));
    QFile file(configFolder + QStringLiteral("/Tarnwick/QVS.conf"));
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the settings");
    file.write("[General]\nSettingsVersion=1.0\nLanguage=ENG\nViewSplash=false\n"
               "ViewTips=false\nViewWizard=false\nAutoCheck=false\nRemindDue=false\n");
}

} // namespace

class TestQvsFollowsFile : public QObject {
    Q_OBJECT

    std::unique_ptr<XDesktop> desktop_;
    DesktopHome home_;
    QString file_;
    std::unique_ptr<QProcess> qvs_;

    QString Path(const char* name) const { return home_.Path(name); }
    QStringList LogLines() const { return home_.LogLines(); }
    QString Tool(const QStringList& arguments) const {
        return DesktopHome::Xdotool(*desktop_, arguments);
    }

    bool Logged(const QString& start, int count = 1) const {
        QDeadlineTimer deadline(kWaitMs);
        while (!deadline.hasExpired()) {
            int seen = 0;
            for (const QString& line : LogLines())
                seen += line.startsWith(start);
            if (seen >= count) return true;
            QTest::qWait(50);
        }
        qWarning() << "log so far:" << LogLines();
        return false;
    }

    QString WaitActiveTitled(const QString& title, const QString& other = {}) const {
        return DesktopHome::WaitActiveTitled(*desktop_, title, other);
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
        if (!qvs_) return {};
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
        desktop_ = std::make_unique<XDesktop>();
        if (!desktop_->SkipReason().isEmpty()) QSKIP(qPrintable(desktop_->SkipReason()));
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not installed");
        QVERIFY(home_.Valid());
        file_ = Path("Shared.QVS");
        ardeko::clsPW store;
        store.NewFile();
        store.CatAdd("Banks");
        for (const char* name : {"Alpha", "Beta"})
            QVERIFY(store.PWAdd(Entry(name)));
        store.SetFilePW(kPassword);
        QVERIFY(store.SaveFile(file_.toStdString(), false));
        home_.MakeFolders();
        WriteSettings(Path("config"));
    }
    void cleanupTestCase() {
        DesktopHome::Stop(qvs_);
        desktop_.reset();
    }

    void withoutUnsavedChangesTheNewVersionIsRead() {
        qvs_ = home_.StartQvs(*desktop_, {file_});
        QVERIFY(!WaitActiveTitled(QStringLiteral("Enter the file password")).isEmpty());
        Tool({"type", "--delay", "50", kPassword});
        Tool({"key", "Return"});
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
        QCOMPARE(qvs_->state(), QProcess::Running);
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
        QTest::qWait(500);
        const int reloads = Count("reloaded ");
        ReplaceFile([](ardeko::clsPW& s) { QVERIFY(s.PWAdd(Entry("While locked"))); });
        QTest::qWait(kSeenMs);
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
    static constexpr int kSeenMs = 6000; // the fallback check comes every 3 s

    int Count(const char* start) const {
        int seen = 0;
        for (const QString& line : LogLines())
            seen += line.startsWith(QLatin1String(start));
        return seen;
    }

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
