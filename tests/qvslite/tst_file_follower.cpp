// Following QVS's saves: every atomic replace is seen and the menu follows;
// a read that fails while the file is rewritten is tried again, not
// reported; a changed password and a vanished file are reported once, the
// entries leave the menu, which offers to open the file again; a file that
// comes back as it was is shown again without a word.
#include "autotype/key_pair.h"
#include "frame/main_window_iface.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "qvslite/file_follower.h"
#include "qvslite/lite_tray.h"
#include "tests/frame/modal_script.h"
#include "tests/frame/test_language.h"
#include "tests/frame/watch_timing.h"
#include "tests/qvslite/lite_fixture.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/files/frm_file_pw.h"

using namespace qvs;
using namespace lite_test;

class TestFileFollower : public QObject {
    Q_OBJECT

    TestLanguage language_{30, 75, 76, 77, 78, 80, 81, 82, 83, 32403};
    QTemporaryDir dir_;
    QString path_;
    QList<FileFollower::Problem> reports_;
    std::unique_ptr<FileFollower> follower_;
    std::unique_ptr<frmTray> tray_;

    void Open(const std::string& password = {}) {
        App().store = std::make_unique<ardeko::clsPW>();
        QVERIFY(App().store->LoadFile(path_.toStdString(), password, DefaultKeyVal()));
        App().currentFileName = path_;
        App().currentFilePassword.Assign(password);
        follower_->Follow();
        tray_->UpdateView(QString());
    }

private slots:
    void init() {
        Opt() = DefaultOptions();
        Opt().SysTrayShow = 1;
        reports_.clear();
        path_ = dir_.filePath(QStringLiteral("Followed.QVS"));
        WriteFile(path_, {"Alpha"});
        follower_ = std::make_unique<FileFollower>(
            [this](FileFollower::Problem p, const QString&) { reports_ << p; });
        follower_->SetTiming(kTestWatchTiming);
        tray_ = std::make_unique<frmTray>(LiteTrayActions(*follower_, {}), false);
        SetCurrentMainWindow(tray_.get());
        Open();
    }
    void cleanup() {
        SetCurrentMainWindow(nullptr);
        tray_.reset();
        follower_.reset();
    }

    // The folder is watched, so each replacement is seen, not just the first.
    void everySaveOfQvsReachesTheMenu() {
        QCOMPARE(Services(*tray_), QStringList{"srvAlpha"});
        QSignalSpy reloaded(follower_.get(), &FileFollower::Reloaded);
        for (const char* name : {"Beta", "Gamma", "Delta"}) {
            SaveAsQvs(path_, [name](ardeko::clsPW& s) { s.PWAdd(Entry(name)); });
            QTRY_VERIFY_WITH_TIMEOUT(Services(*tray_).contains(QLatin1String("srv") + name),
                                     kSeenMs);
        }
        QCOMPARE(Services(*tray_).size(), 4);
        QVERIFY(reloaded.size() >= 3);
        QVERIFY(reports_.isEmpty());
        // The held password was used, not asked for: no dialog came up.
        QCOMPARE(ModalDepth(), 0);
    }

    // The shown file handed over again, just after a save not yet read:
    // the save still reaches the menu.
    void aHandOverDoesNotSwallowAPendingSave() {
        SaveAsQvs(path_, [](ardeko::clsPW& s) { s.PWAdd(Entry("Pending")); });
        follower_->FollowOpened();
        QTRY_VERIFY_WITH_TIMEOUT(Services(*tray_).contains(QStringLiteral("srvPending")), kSeenMs);
    }

    // A file caught half rewritten in place does not open; the next look
    // finds it whole, and nothing is reported.
    void aFileCaughtMidWriteIsReadAgain() {
        const QByteArray whole = DiskState::Of(path_).bytes;
        {
            QFile file(path_);
            QVERIFY(file.open(QIODevice::WriteOnly)); // in place, same inode
            file.write(whole.left(whole.size() / 3));
        }
        follower_->Check();
        // Some retries fail on the partial file before it is whole; it is
        // reported only after staying so for far longer.
        QTest::qWait(3 * kTestWatchTiming.retryMs);
        WriteFile(path_, {"Alpha", "Late"});
        QTRY_VERIFY_WITH_TIMEOUT(Services(*tray_).contains(QStringLiteral("srvLate")), kSeenMs);
        QVERIFY(reports_.isEmpty());
    }

    void aChangedPasswordIsReportedOnce() {
        SaveAsQvs(path_, [](ardeko::clsPW& s) { s.SetFilePW("new password"); });
        QTRY_COMPARE_WITH_TIMEOUT(reports_.size(), 1, kSeenMs);
        QCOMPARE(reports_.front(), FileFollower::Problem::Unreadable);
        // Later saves and checks add no second report: the later save,
        // unreadable as well, is dropped without a word.
        QSignalSpy dropped(follower_.get(), &FileFollower::Dropped);
        SaveAsQvs(
            path_, [](ardeko::clsPW& s) { s.PWAdd(Entry("More")); }, "new password");
        QVERIFY(dropped.wait(kSeenMs));
        QCOMPARE(reports_.size(), 1);
        // Nothing of the file is shown from memory; the menu asks to open it again.
        QVERIFY(Services(*tray_).isEmpty());
        QCOMPARE(Keys(*tray_).value(0), QStringLiteral("reopen"));
        QVERIFY(tray_->SysTray().PopupMenuObject().Caption(1).contains(TestLanguage::Text(32403)));

        // "reopen" asks for the password and shows the file again.
        ModalScript script;
        script
            .On<frmFilePW>([](frmFilePW* w) {
                w->findChild<QLineEdit*>(QStringLiteral("txtPW1"))
                    ->setText(QStringLiteral("new password"));
                QTest::keyClick(w->findChild<QLineEdit*>(QStringLiteral("txtPW1")), Qt::Key_Return);
            })
            .Start();
        tray_->OnMenuClick(0, QStringLiteral("reopen"));
        QVERIFY(script.Done());
        QVERIFY(Services(*tray_).contains(QStringLiteral("srvMore")));
        QVERIFY(!Keys(*tray_).contains(QStringLiteral("reopen")));
        QCOMPARE(follower_->CurrentProblem(), FileFollower::Problem::None);
        // And it is followed with the new password.
        SaveAsQvs(
            path_, [](ardeko::clsPW& s) { s.PWAdd(Entry("Most")); }, "new password");
        QTRY_VERIFY_WITH_TIMEOUT(Services(*tray_).contains(QStringLiteral("srvMost")), kSeenMs);
        QCOMPARE(reports_.size(), 1);
    }

    void aVanishedFileIsReportedOnceAndShownWhenBack() {
        const QString away = dir_.filePath(QStringLiteral("away.QVS"));
        QVERIFY(QFile::rename(path_, away));
        QTRY_COMPARE_WITH_TIMEOUT(reports_.size(), 1, kSeenMs);
        QCOMPARE(reports_.front(), FileFollower::Problem::Vanished);
        QVERIFY(Services(*tray_).isEmpty());
        QCOMPARE(Keys(*tray_).value(0), QStringLiteral("reopen"));
        // Nothing to wait for: a report that stays away over some checks.
        QTest::qWait(3 * kTestWatchTiming.checkMs);
        QCOMPARE(reports_.size(), 1);

        QVERIFY(QFile::rename(away, path_));
        QTRY_COMPARE_WITH_TIMEOUT(Services(*tray_), QStringList{"srvAlpha"}, kSeenMs);
        QVERIFY(!Keys(*tray_).contains(QStringLiteral("reopen")));
        QCOMPARE(reports_.size(), 1);
    }
};

QTEST_MAIN(TestFileFollower)
#include "tst_file_follower.moc"
