// A command line handed over by a second copy of the program: bringing the
// window forward, opening the named file after the save question, and
// waiting while the program is busy with a dialog or its start.
#include "tests/app/file_commands_fixture.h"

#include "app/file_commands.h"
#include "app/lock_controller.h"
#include "app/passed_command_line.h"
#include "frame/message_box.h"
#include "frame/modal_stack.h"

#include <QWidget>

using namespace qvs;

namespace {

// A main window that can be seen, minimised and counted.
class WindowedMain : public QWidget, public IMainWindow {
public:
    QWidget* MainWidget() override { return this; }
    void UpdateView(const QString&) override { ++updates; }
    int updates = 0;
};

} // namespace

class TestPassedCommandLine : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<TestLanguage> language_;
    FakeMainWindow fake_;
    std::unique_ptr<WindowedMain> window_;
    int handled_ = 0;

    void Receive(const QByteArray& bytes) {
        ReceiveCommandLine(bytes, [this] { ++handled_; });
    }

private slots:
    void initTestCase() {
        QCoreApplication::setApplicationName(QStringLiteral("QVS"));
        language_.reset(MakeFileCommandLanguage());
    }
    void init() {
        ResetProgram(fake_);
        window_ = std::make_unique<WindowedMain>();
        SetCurrentMainWindow(window_.get());
        handled_ = 0;
    }
    void cleanup() {
        SetCurrentMainWindow(nullptr);
        window_.reset();
        QCOMPARE(ModalDepth(), 0);
    }

    void noBytesBringsTheWindowBack() {
        window_->showMinimized();
        Receive(QByteArray());
        QCOMPARE(handled_, 1);
        QVERIFY(window_->isVisible());
        QVERIFY(!window_->isMinimized());
        QVERIFY(StoreName().empty());
    }

    void aQuotedPathWithSpacesIsOpened() {
        QDir(dir_.path()).mkdir(QStringLiteral("My Files"));
        const QString path = WriteDataFile(dir_, QStringLiteral("My Files/a b.QVS"), "");
        Receive(("  \"" + path + "\" ").toUtf8());
        QCOMPARE(handled_, 1);
        QCOMPARE(QString::fromStdString(StoreName()), path);
        QCOMPARE(App().currentFileName, path);
        QVERIFY(window_->updates > 0);
    }

    void cancellingTheSaveQuestionKeepsTheOpenFile() {
        const QString open = WriteDataFile(dir_, QStringLiteral("open.QVS"), "");
        const QString other = WriteDataFile(dir_, QStringLiteral("other.QVS"), "");
        QVERIFY(OpenDataFile(open, QString()));
        QVERIFY(Store().CatAdd("Cards"));
        ModalScript script;
        script.On<frmMessage>([](frmMessage* m) { AnswerCancel(m); }).Start();
        Receive(other.toUtf8());
        QVERIFY(script.Done());
        QCOMPARE(QString::fromStdString(StoreName()), open);
        QVERIFY(Store().NotSaved());
        QCOMPARE(App().currentFileName, open);
    }

    // The name of a file that could not be opened must not pass for the
    // name of the file still open.
    void aFileThatCannotBeOpenedLeavesTheCurrentName() {
        const QString open = WriteDataFile(dir_, QStringLiteral("kept.QVS"), "");
        QVERIFY(OpenDataFile(open, QString()));
        ModalScript script;
        script.On<frmMessage>([](frmMessage* m) { Click(m, "cmdOK"); }).Start();
        Receive(dir_.filePath(QStringLiteral("missing.QVS")).toUtf8());
        QVERIFY(script.Done());
        QCOMPARE(QString::fromStdString(StoreName()), open);
        QCOMPARE(App().currentFileName, open);
    }

    // A file must never be replaced under an open dialog: the hand-over
    // waits for the dialog, then runs.
    void waitsUntilNoDialogIsOpen() {
        const QString path = WriteDataFile(dir_, QStringLiteral("later.QVS"), "");
        QWidget dialog;
        {
            ModalStackEntry entry(&dialog);
            Receive(path.toUtf8());
            // Nothing to wait for: the hand-over tries again every quarter
            // second; two tries pass without it running.
            QTest::qWait(600);
            QCOMPARE(handled_, 0);
            QVERIFY(StoreName().empty());
        }
        QTRY_COMPARE(handled_, 1);
        QCOMPARE(QString::fromStdString(StoreName()), path);
    }

    // Behind the lock screen the locked file stays; the named one opens
    // once the user has unlocked.
    void waitsWhileTheFileIsLocked() {
        const QString locked = WriteDataFile(dir_, QStringLiteral("locked.QVS"), "pw");
        const QString other = WriteDataFile(dir_, QStringLiteral("other.QVS"), "");
        ModalScript script;
        script.On<frmFilePW>([](frmFilePW* w) { TypePassword(w, QStringLiteral("pw")); }).Start();
        QVERIFY(OpenDataFile(locked, QString()));
        QVERIFY(Locking().Lock());
        Receive(other.toUtf8());
        QTest::qWait(600); // two tries pass without the hand-over running
        QCOMPARE(handled_, 0);
        QCOMPARE(QString::fromStdString(StoreName()), locked);
        QVERIFY(Locking().Unlock(QStringLiteral("pw")));
        QTRY_COMPARE(handled_, 1);
        QCOMPARE(QString::fromStdString(StoreName()), other);
    }

    void waitsWhileTheProgramStarts() {
        App().startingUp = true;
        Receive(QByteArray());
        QTest::qWait(400); // a try passes without the hand-over running
        QCOMPARE(handled_, 0);
        App().startingUp = false;
        QTRY_COMPARE(handled_, 1);
    }
};

QTEST_MAIN(TestPassedCommandLine)
#include "tst_passed_command_line.moc"
