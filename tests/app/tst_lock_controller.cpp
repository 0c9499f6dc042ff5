// Locking the open file: when it locks (command, idle time on a test clock,
// session lock), what locking does, and unlocking with the file password.
#include "tests/app/file_commands_fixture.h"

#include "app/lock_controller.h"
#include "app/session_lock_source.h"
#include "autotype/secret_clipboard.h"
#include "frame/message_box.h"
#include "frame/modal_stack.h"

#include <QClipboard>
#include <QGuiApplication>

using namespace qvs;

namespace {

struct FakeView : ILockableView {
    void LockView() override { ++locks; }
    void UnlockView() override { ++unlocks; }
    int locks = 0;
    int unlocks = 0;
};

class FakeSessionLock : public SessionLockSource {
public:
    bool Available() const override { return true; }
    void Fire() { emit sessionLocked(); }
};

const QString kPassword = QStringLiteral("pässword 1");

} // namespace

class TestLockController : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("QVS")); }

    void init() {
        ResetProgram(fake_);
        Store().NewFile();
        Store().SetFilePW(kPassword.toStdString());
        controller_ = std::make_unique<LockController>();
        controller_->SetView(&view_);
        controller_->SetTrayHook([this](bool locked) { tray_.append(locked); });
        controller_->SetClock([this] { return now_; });
        view_ = FakeView();
        tray_.clear();
    }
    void cleanup() {
        controller_.reset();
        QCOMPARE(ModalDepth(), 0);
    }

    void onlyAnOpenFileWithAPasswordLocks() {
        Store().SetFilePW(std::string());
        QVERIFY(!controller_->Lock());
        App().store = std::make_unique<ardeko::clsPW>(); // no file at all
        QVERIFY(!controller_->Lock());
        QCOMPARE(view_.locks, 0);
        QVERIFY(tray_.isEmpty());
    }

    void unlockNeedsTheFilePassword() {
        QVERIFY(controller_->Lock());
        QVERIFY(controller_->Lock()); // locking again changes nothing
        QCOMPARE(view_.locks, 1);
        QCOMPARE(tray_, QList<bool>{true});
        QVERIFY(!controller_->Unlock(QString()));
        QVERIFY(!controller_->Unlock(kPassword.toUpper()));
        QVERIFY(controller_->IsLocked());
        QCOMPARE(view_.unlocks, 0);
        QVERIFY(controller_->Unlock(kPassword));
        QVERIFY(!controller_->IsLocked());
        QCOMPARE(view_.unlocks, 1);
        QCOMPARE(tray_, (QList<bool>{true, false}));
    }

    void locksAfterTheIdleTime() {
        Opt().LockIdleMinutes = 5;
        controller_->SetClock([this] { return now_; }); // input counted from now
        now_ = now_.addSecs(4 * 60);
        controller_->NoteInput();
        now_ = now_.addSecs(5 * 60 - 1);
        controller_->CheckIdle();
        QVERIFY(!controller_->IsLocked());
        now_ = now_.addSecs(1);
        controller_->CheckIdle();
        QVERIFY(controller_->IsLocked());
    }

    void inputRestartsTheIdleTime() {
        Opt().LockIdleMinutes = 1;
        now_ = now_.addSecs(59);
        QTest::keyClick(&widget_, Qt::Key_A); // seen by the application filter
        now_ = now_.addSecs(59);
        controller_->CheckIdle();
        QVERIFY(!controller_->IsLocked());
        Opt().LockIdleMinutes = 0; // never
        now_ = now_.addDays(1);
        controller_->CheckIdle();
        QVERIFY(!controller_->IsLocked());
    }

    void locksWithTheSession() {
        QVERIFY(!controller_->SessionLockAvailable());
        auto source = std::make_unique<FakeSessionLock>();
        FakeSessionLock* session = source.get();
        controller_->SetSessionSource(std::move(source));
        QVERIFY(controller_->SessionLockAvailable());
        Opt().LockOnSessionLock = false;
        session->Fire();
        QVERIFY(!controller_->IsLocked());
        Opt().LockOnSessionLock = true;
        session->Fire();
        QVERIFY(controller_->IsLocked());
    }

    void lockClearsOnlyACopiedSecret() {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("the user's own text"));
        QVERIFY(controller_->Lock());
        QCOMPARE(clipboard->text(), QStringLiteral("the user's own text"));
        QVERIFY(controller_->Unlock(kPassword));
        CopySecretToClipboard(QStringLiteral("s3cret"));
        QVERIFY(controller_->Lock());
        QVERIFY(clipboard->text().isEmpty());
    }

    // A question is answered as by closing it; the lock follows at once.
    void openDialogsAreCancelled() {
        ModalScript script;
        script.On<frmMessage>([this](frmMessage*) { QVERIFY(controller_->Lock()); });
        script.Start();
        QCOMPARE(ShowMessage(QStringLiteral("Delete?"), vbYesNo), int(vbNo));
        QVERIFY(controller_->IsLocked());
    }

    // A dialog that cannot be cancelled keeps the lock waiting until it closes.
    void lockWaitsForADialogThatStays() {
        ModalScript script;
        script.On<qvs::frmFilePW>([this](qvs::frmFilePW* w) {
            QVERIFY(!controller_->Lock());
            QVERIFY(w->isVisible());
            Box(w, "txtPW1")->setText(QStringLiteral("x"));
            Box(w, "txtPW2")->setText(QStringLiteral("x"));
            Click(w, "cmdOK");
        });
        script.Start();
        qvs::frmFilePW dialog;
        QCOMPARE(dialog.nuova(), QStringLiteral("x"));
        QVERIFY(!controller_->IsLocked());
        QTRY_VERIFY(controller_->IsLocked());
    }

private:
    static QLineEdit* Box(QWidget* w, const char* name) {
        return w->findChild<QLineEdit*>(QString::fromLatin1(name));
    }

    std::unique_ptr<TestLanguage> language_{MakeFileCommandLanguage()};
    FakeMainWindow fake_;
    FakeView view_;
    QList<bool> tray_;
    QDateTime now_ = QDateTime(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);
    std::unique_ptr<LockController> controller_;
    QWidget widget_;
};

QTEST_MAIN(TestLockController)
#include "tst_lock_controller.moc"
