// Locking the open file: when it locks (command, idle time on a test clock,
// session lock), what locking does, and unlocking with the file password.
#include "tests/app/file_commands_fixture.h"

#include "app/lock_controller.h"
#include "app/session_lock_source.h"
#include "autotype/secret_clipboard.h"
#include "dialogs/entry/frm_pw.h"
#include "dialogs/entry/frm_show_pw.h"
#include "dialogs/frm_check_expire.h"
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

    // Nothing of the entry stays on screen or on a button that copies it.
    void entryWindowsClose() {
        AddEntry();
        QPointer<frmShowPW> shown = OpenShowPW(Store(), QStringLiteral("Bank"), 0);
        QVERIFY(shown && shown->isVisible());
        QVERIFY(controller_->Lock());
        QVERIFY(!shown || !shown->isVisible());
        Settle();
        QVERIFY(!shown);
    }

    // The lock comes at once, without asking about the editor's changes;
    // only the file password brings the editor back, as it was. The lock
    // screen takes input meanwhile (the editor has left the window stack).
    void editorIsHeldOverTheLock() {
        AddEntry();
        QPointer<frmPW> editor = PasswordEdit(QStringLiteral("Bank"));
        QVERIFY(editor);
        Box(editor, "txtName")->setText(QStringLiteral("changed"));
        ModalScript script;
        script.On<frmMessage>([](frmMessage*) { QFAIL("the lock asked a question"); });
        script.Start();
        QVERIFY(controller_->Lock());
        QVERIFY(editor && !editor->isVisible());
        QCOMPARE(ModalDepth(), 0);
        QVERIFY(!controller_->Unlock(QStringLiteral("wrong")));
        QVERIFY(!editor->isVisible());
        QVERIFY(controller_->Unlock(kPassword));
        QVERIFY(editor->isVisible());
        QCOMPARE(ModalDepth(), 1);
        QCOMPARE(Box(editor, "txtName")->text(), QStringLiteral("changed"));
        Discard(editor);
    }

    // A lock while the editor asks whether to drop its changes answers
    // "no": the changes are kept behind the lock.
    void lockDuringTheEditorsQuestionKeepsTheChanges() {
        AddEntry();
        QPointer<frmPW> editor = PasswordEdit(QStringLiteral("Bank"));
        Box(editor, "txtName")->setText(QStringLiteral("changed"));
        ModalScript script;
        script.On<frmMessage>([this](frmMessage*) { QVERIFY(controller_->Lock()); });
        script.Start();
        editor->reject();
        QVERIFY(script.Done());
        Settle();
        QVERIFY(editor && !editor->isVisible());
        QVERIFY(controller_->Unlock(kPassword));
        QCOMPARE(Box(editor, "txtName")->text(), QStringLiteral("changed"));
        Discard(editor);
    }

    // The expiry list goes on close (and on a lock); an editor opened from it
    // stays, with its input.
    void editorOutlivesTheExpiryList() {
        AddEntry();
        QPointer<frmCheckExpire> list = new frmCheckExpire(Store());
        list->setAttribute(Qt::WA_DeleteOnClose);
        list->ShowList();
        QPointer<frmPW> editor = PasswordEdit(QStringLiteral("Bank"));
        Box(editor, "txtName")->setText(QStringLiteral("changed"));
        QVERIFY(controller_->Lock());
        Settle();
        QVERIFY(!list);
        QVERIFY(editor);
        QVERIFY(controller_->Unlock(kPassword));
        QCOMPARE(Box(editor, "txtName")->text(), QStringLiteral("changed"));
        Discard(editor);
    }

private:
    static void AddEntry() {
        ardeko::T_Password entry;
        entry.service = "Bank";
        entry.User = "anna";
        entry.pw = "s3cret";
        QVERIFY(Store().PWAdd(entry));
    }
    // Closes an editor without saving: its input is put back first, so that
    // it closes without asking.
    static void Discard(frmPW* editor) {
        Box(editor, "txtName")->setText(QStringLiteral("anna"));
        editor->reject();
        Settle();
    }
    static void Settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
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
