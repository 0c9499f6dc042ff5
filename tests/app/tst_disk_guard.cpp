// The open file changed on disk by someone else (a sync tool replacing it
// by a rename): what the guard decides, and that neither side's changes are
// lost whatever the user answers.
#include "tests/app/file_commands_fixture.h"
#include "tests/frame/watch_timing.h"

#include "app/disk_guard.h"
#include "app/file_commands.h"

#include <QFile>

using qvs::App;
using qvs::DiskAction;
using qvs::DiskFacts;
using qvs::frmMessage;
using qvs::Store;

namespace {

// Writes the file as another machine would: read it, change it, save it
// (written beside it and renamed over it).
void WriteFromElsewhere(const QString& path, const std::function<void(ardeko::clsPW&)>& change,
                        const std::string& password = "pw", const std::string& newPassword = "pw") {
    ardeko::clsPW other;
    if (!other.LoadFile(path.toStdString(), password)) qFatal("cannot read the test file");
    change(other);
    // A save keeps the file's key (and salt); only a new password draws another.
    if (newPassword != password) other.SetFilePW(newPassword);
    if (!other.SaveFile("", false)) qFatal("cannot write the test file");
}

void AddEntry(ardeko::clsPW& s, const char* name) {
    ardeko::T_Password p;
    p.service = name;
    p.pw = std::string("secret of ") + name;
    if (!s.PWAdd(p)) qFatal("cannot add a test entry");
}

bool Has(const ardeko::clsPW& s, const char* name) {
    return s.Password().Contains(name);
}

ardeko::clsPW OnDisk(const QString& path) {
    ardeko::clsPW s;
    s.LoadFile(path.toStdString(), "pw");
    return s;
}

// Closes every modal window that opens and counts them: a report the user
// was already given must not come again.
class ModalCounter {
public:
    ModalCounter() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                ++count;
                w->close();
            }
        });
        timer_.start();
    }
    int count = 0;

private:
    QTimer timer_;
};

class PlaceKeepingWindow : public FakeMainWindow {
public:
    void KeepPlaceAcross(const std::function<void()>& replace) override {
        ++kept;
        FakeMainWindow::KeepPlaceAcross(replace);
    }
    void ShowNote(const QString& text) override { note = text; }
    int kept = 0;
    QString note;
};

} // namespace

class TestDiskGuard : public QObject {
    Q_OBJECT
    std::unique_ptr<TestLanguage> language_{
        new TestLanguage({10,    11,    13,    14,    30002, 30005, 34500, 34501, 34502,
                          34503, 34504, 34505, 34506, 34507, 34508, 34509, 34510, 34511,
                          34512, 34513, 34515, 34520, 36010, 36011, 36012, 36015})};
    PlaceKeepingWindow main_;
    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<qvs::DiskGuard> guard_;

private slots:
    void init() {
        ResetProgram(main_);
        main_ = PlaceKeepingWindow();
        qvs::SetCurrentMainWindow(&main_);
        guard_ = std::make_unique<qvs::DiskGuard>();
        guard_->SetTiming(kTestWatchTiming);
        path_ = WriteDataFile(dir_, "Shared.QVS", "pw");
        QVERIFY(qvs::OpenDataFile(path_, "pw"));
    }
    void cleanup() {
        guard_.reset();
        QCOMPARE(qvs::ModalDepth(), 0);
        qvs::SetCurrentMainWindow(nullptr);
    }

    void decisions() {
        auto decide = [](bool same, bool told, bool exists, bool opens, bool unsaved) {
            return qvs::DecideOnChange(DiskFacts{same, told, exists, opens, unsaved});
        };
        QCOMPARE(decide(true, false, true, true, true), DiskAction::Nothing);
        QCOMPARE(decide(false, true, true, true, true), DiskAction::Nothing); // asked once
        QCOMPARE(decide(false, false, true, true, false), DiskAction::Reload);
        QCOMPARE(decide(false, false, true, true, true), DiskAction::Ask);
        QCOMPARE(decide(false, false, false, false, true), DiskAction::ReportVanished);
        QCOMPARE(decide(false, false, true, false, false), DiskAction::ReportUnreadable);
    }

    void withoutChangesTheNewVersionIsReadAtOnce() {
        WriteFromElsewhere(path_, [](ardeko::clsPW& s) { AddEntry(s, "From elsewhere"); });
        QTRY_VERIFY_WITH_TIMEOUT(Has(Store(), "From elsewhere"), kSeenMs);
        QVERIFY(!Store().NotSaved());
        QCOMPARE(main_.kept, 1);
        QCOMPARE(main_.note, TestLanguage::Text(34500));
        // The new version is the one read: saving asks nothing.
        AddEntry(Store(), "Mine");
        QVERIFY(qvs::SaveDataFile(false));
        QVERIFY(Has(OnDisk(path_), "From elsewhere") && Has(OnDisk(path_), "Mine"));
    }

    void mergeKeepsBothSides() {
        AddEntry(Store(), "Mine");
        ModalScript script;
        script
            .On<frmMessage>([](frmMessage* m) {
                ExpectQuestion(m, TestLanguage::Text(34501));
                AnswerYes(m); // Merge
            })
            .On<frmMessage>([](frmMessage* m) { Click(m, "cmdOK"); }) // the summary
            .Start();
        WriteFromElsewhere(path_, [](ardeko::clsPW& s) { AddEntry(s, "Theirs"); });
        guard_->Check(); // now: on a loaded machine the watch may be late
        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && qvs::ModalDepth() == 0, kSeenMs);
        QVERIFY(Has(Store(), "Mine") && Has(Store(), "Theirs"));
        QVERIFY(Store().NotSaved());
        QVERIFY(qvs::SaveDataFile(false)); // merged with the version on disk: no question
        const ardeko::clsPW disk = OnDisk(path_);
        QVERIFY(Has(disk, "Mine") && Has(disk, "Theirs"));
    }

    void reloadDiscardsMine() {
        AddEntry(Store(), "Mine");
        ModalScript script;
        script.On<frmMessage>([](frmMessage* m) { AnswerNo(m); }).Start();
        WriteFromElsewhere(path_, [](ardeko::clsPW& s) { AddEntry(s, "Theirs"); });
        guard_->Check();
        QTRY_VERIFY_WITH_TIMEOUT(Has(Store(), "Theirs"), kSeenMs);
        QVERIFY(!Has(Store(), "Mine"));
        QVERIFY(!Store().NotSaved());
    }

    // Keep mine: the next save asks before overwriting; merging then saves
    // both sides, and overwriting needs the user's word.
    void keepMineAsksAgainAtTheSave() {
        AddEntry(Store(), "Mine");
        {
            ModalScript script;
            script.On<frmMessage>([](frmMessage* m) { AnswerCancel(m); }).Start();
            WriteFromElsewhere(path_, [](ardeko::clsPW& s) { AddEntry(s, "Theirs"); });
            guard_->Check();
            QTRY_VERIFY_WITH_TIMEOUT(script.Done() && qvs::ModalDepth() == 0, kSeenMs);
        }
        QVERIFY(!Has(Store(), "Theirs"));
        {
            ModalScript script;
            script.On<frmMessage>([](frmMessage* m) { AnswerCancel(m); }).Start();
            QVERIFY(!qvs::SaveDataFile(false)); // cancelled: nothing written
            QVERIFY(!Has(OnDisk(path_), "Mine"));
        }
        {
            ModalScript script;
            script
                .On<frmMessage>([](frmMessage* m) {
                    ExpectQuestion(m, TestLanguage::Text(34509));
                    AnswerYes(m); // merge, then save
                })
                .On<frmMessage>([](frmMessage* m) { Click(m, "cmdOK"); })
                .Start();
            QVERIFY(qvs::SaveDataFile(false));
        }
        const ardeko::clsPW disk = OnDisk(path_);
        QVERIFY(Has(disk, "Mine") && Has(disk, "Theirs"));
        QVERIFY(!Store().NotSaved());
    }

    void vanishedOrNewPasswordIsToldOnceAndNothingIsLost() {
        AddEntry(Store(), "Mine");
        ModalCounter modals;
        QVERIFY(QFile::remove(path_));
        QTRY_COMPARE_WITH_TIMEOUT(modals.count, 1, kSeenMs);
        guard_->Check();
        // Nothing to wait for: a report that stays away. A fallback check
        // comes meanwhile as well.
        QTest::qWait(kTestWatchTiming.checkMs + 50);
        QCOMPARE(modals.count, 1);
        QVERIFY(Has(Store(), "Mine") && Store().NotSaved());

        // Back, but under another password.
        ardeko::clsPW other;
        other.NewFile();
        AddEntry(other, "Theirs");
        other.SetFilePW("new pw");
        QVERIFY(other.SaveFile(path_.toStdString(), false));
        QTRY_COMPARE_WITH_TIMEOUT(modals.count, 2, kSeenMs);
        guard_->Check();
        QTest::qWait(kTestWatchTiming.checkMs + 50);
        QCOMPARE(modals.count, 2);
        QVERIFY(Has(Store(), "Mine") && !Has(Store(), "Theirs"));
    }

    // Written in place slowly, the file does not open for a while: nothing
    // is said while it may still be being written.
    void aFileCaughtMidWriteIsWaitedFor() {
        const QString next = dir_.filePath("next.QVS");
        QVERIFY(QFile::copy(path_, next));
        WriteFromElsewhere(next, [](ardeko::clsPW& s) { AddEntry(s, "Theirs"); });
        QFile whole(next);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray bytes = whole.readAll();
        ModalCounter modals;
        QFile file(path_);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes.left(bytes.size() / 2));
        file.flush();
        guard_->Check();
        // A pause longer than the first retries', shorter than the time after
        // which a file that stays unreadable is reported.
        QTest::qWait(3 * kTestWatchTiming.retryMs);
        file.write(bytes.mid(bytes.size() / 2));
        file.close();
        QTRY_VERIFY_WITH_TIMEOUT(Has(Store(), "Theirs"), kSeenMs);
        QCOMPARE(modals.count, 0);
    }

    // A sync tool's conflict copy: offered, merged against the version kept
    // (its deletion carries over, an entry only this side has stays), and
    // moved aside.
    void aConflictCopyIsMergedAndMovedAside() {
        WriteFromElsewhere(path_, [](ardeko::clsPW& s) {
            AddEntry(s, "Both had it");
            AddEntry(s, "Deleted in the copy");
        });
        QTRY_VERIFY_WITH_TIMEOUT(Has(Store(), "Deleted in the copy"), kSeenMs);
        const QString copy = dir_.filePath("Shared (conflicted copy 2026-12-08 140211).QVS");
        QVERIFY(QFile::copy(path_, copy));
        AddEntry(Store(), "Only here");
        QVERIFY(qvs::SaveDataFile(false));
        WriteFromElsewhere(copy, [](ardeko::clsPW& s) {
            AddEntry(s, "Only in the copy");
            QVERIFY(s.PWDel("Deleted in the copy"));
        });
        QString summary;
        ModalScript script;
        script
            .On<frmMessage>([](frmMessage* m) { AnswerYes(m); }) // merge it in
            .On<frmMessage>([&summary](frmMessage* m) {
                summary = MessageText(m);
                Click(m, "cmdOK");
            })
            .Start();
        guard_->Check();
        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && qvs::ModalDepth() == 0, kSeenMs);
        QVERIFY(Has(Store(), "Only here") && Has(Store(), "Only in the copy"));
        QVERIFY(Has(Store(), "Both had it") && !Has(Store(), "Deleted in the copy"));
        QVERIFY(summary.contains(TestLanguage::Text(34515))); // three-way: the deletion
        QVERIFY(!QFile::exists(copy) && QFile::exists(copy + ".merged"));
        QCOMPARE(main_.note, TestLanguage::Text(36012));
    }
};

QTEST_MAIN(TestDiskGuard)
#include "tst_disk_guard.moc"
