// The open file's password: the change command with its refusals, and the
// offer of a password when a file without one is saved.
#include "tests/app/file_commands_fixture.h"

#include "app/file_commands.h"
#include "app/file_password.h"

using qvs::App;
using qvs::frmFilePW;
using qvs::frmMessage;
using qvs::Store;

namespace {

QLineEdit* Box(frmFilePW* w, const char* name) {
    return w->findChild<QLineEdit*>(QString::fromLatin1(name));
}

// Fills the change window's three boxes and confirms.
void Change(frmFilePW* w, const QString& old, const QString& first, const QString& second) {
    QVERIFY(IsShown(w, "txtPW3"));
    Box(w, "txtPW3")->setText(old);
    Box(w, "txtPW1")->setText(first);
    Box(w, "txtPW2")->setText(second);
    Click(w, "cmdOK");
}

// Types password twice into the set-password window.
void SetTwice(frmFilePW* w, const QString& password) {
    QVERIFY(!IsShown(w, "txtPW3") && !IsShown(w, "cmdCancel"));
    Box(w, "txtPW1")->setText(password);
    Box(w, "txtPW2")->setText(password);
    Click(w, "cmdOK");
}

// Closes the message box, then checks its text (the other way round a
// wrong text would leave the box open and the test hanging).
void Expect(frmMessage* m, const QString& text) {
    const QString shown = MessageText(m);
    Click(m, "cmdOK");
    QCOMPARE(shown, text);
}

void Expect(ModalScript& script, const QString& text) {
    script.On<frmMessage>([text](frmMessage* m) { Expect(m, text); });
}

void Answer(ModalScript& script, int textId, bool yes) {
    script.On<frmMessage>([textId, yes](frmMessage* m) {
        const QString shown = MessageText(m);
        yes ? AnswerYes(m) : AnswerNo(m);
        QCOMPARE(shown, TestLanguage::Text(textId));
    });
}

bool NeedsPassword(const QString& path) {
    ardeko::clsPW probe;
    return !probe.TestForPW(path.toStdString());
}

bool OpensWith(const QString& path, const std::string& password) {
    ardeko::clsPW probe;
    return probe.LoadFile(path.toStdString(), password);
}

} // namespace

class TestFilePassword : public QObject {
    Q_OBJECT

    std::unique_ptr<TestLanguage> language_{new TestLanguage(
        {10,   11,   13,   14,   7000, 7001, 7002,  7003,  7004,  7005,  7006,  7007, 7008,
         7050, 7051, 8000, 8001, 8002, 8003, 30002, 30003, 30004, 30005, 30006, 31000})};
    FakeMainWindow main_;
    std::unique_ptr<QTemporaryDir> dir_;

    QString OpenFile(const std::string& password) {
        const QString path = WriteDataFile(*dir_, QStringLiteral("f.QVS"), password);
        if (!qvs::OpenDataFile(path, QString::fromStdString(password))) qFatal("cannot open");
        return path;
    }

    void Run(ModalScript& script, const std::function<void()>& command) {
        script.Start();
        command();
        QVERIFY(script.Done());
    }

private slots:
    void init() {
        ResetProgram(main_);
        dir_ = std::make_unique<QTemporaryDir>();
        qvs::Opt().Path = dir_->path();
    }
    void cleanup() {
        QCOMPARE(qvs::ModalDepth(), 0);
        qvs::SetCurrentMainWindow(nullptr);
    }

    // A wrong old password and two different new ones are refused in turn,
    // then the change goes through and the saved file takes only the new one.
    void changeRefusesThenChanges() {
        const QString path = OpenFile("old");
        const QString done = TestLanguage::Text(7007) + "\n" + TestLanguage::Text(7008);
        ModalScript script;
        script.On<frmFilePW>([](frmFilePW* w) { Change(w, "wrong", "new", "new"); });
        script.On<frmMessage>([](frmMessage* m) {
            const bool icon = IsShown(m, "Pict");
            Expect(m, TestLanguage::Text(7051));
            QVERIFY(!icon); // a plain note
        });
        script.On<frmFilePW>([](frmFilePW* w) {
            QVERIFY(Box(w, "txtPW3")->text().isEmpty()); // cleared for a retry
            QCOMPARE(Box(w, "txtPW1")->text(), QStringLiteral("new"));
            Change(w, "old", "new", "New");
        });
        Expect(script, TestLanguage::Text(7050));
        script.On<frmFilePW>([](frmFilePW* w) { Change(w, "old", "new", "new"); });
        Expect(script, done); // the "\r" between the two texts shows as a line break
        bool changed = false;
        Run(script, [&] { changed = qvs::ChangeFilePassword(); });
        QVERIFY(changed);
        QVERIFY(Store().NotSaved());
        QVERIFY(Store().CheckFilePW("new"));
        QVERIFY(OpensWith(path, "old")); // nothing written yet

        QVERIFY(qvs::SaveDataFile(false));
        QVERIFY(!OpensWith(path, "old"));
        QVERIFY(OpensWith(path, "new"));
        QVERIFY(qvs::OpenDataFile(path, QStringLiteral("new")));
    }

    void cancelledChangeKeepsThePassword() {
        const QString path = OpenFile("old");
        ModalScript script;
        script.On<frmFilePW>([](frmFilePW* w) { Click(w, "cmdCancel"); });
        bool changed = true;
        Run(script, [&] { changed = qvs::ChangeFilePassword(); });
        QVERIFY(!changed);
        QVERIFY(!Store().NotSaved());
        QVERIFY(Store().CheckFilePW("old"));
    }

    // Two empty new boxes remove the password; the message says so.
    void emptyNewPasswordRemovesIt() {
        const QString path = OpenFile("old");
        ModalScript script;
        script.On<frmFilePW>([](frmFilePW* w) { Change(w, "old", "", ""); });
        Expect(script, TestLanguage::Text(7006) + "\n" + TestLanguage::Text(7008));
        Run(script, [] { QVERIFY(qvs::ChangeFilePassword()); });
        QVERIFY(qvs::SaveDataFile(false));
        QVERIFY(!NeedsPassword(path));
    }

    void noFileNoCommand() {
        QVERIFY(!qvs::ChangeFilePassword()); // no window to answer
    }

    // A file made with New gets its password at the first save.
    void newFileIsOfferedAPasswordAtItsFirstSave() {
        qvs::SetFilePasswordOffer(true);
        qvs::NewDataFile();
        Store().CatAdd("Banks");
        const QString path = dir_->filePath(QStringLiteral("made.QVS"));
        ModalScript script;
        script.On<QFileDialog>([&](QFileDialog* d) { SaveAs(d, path); });
        Answer(script, 31000, true);
        script.On<frmFilePW>([](frmFilePW* w) { SetTwice(w, QStringLiteral("secret")); });
        Run(script, [] { QVERIFY(qvs::SaveDataFile(false)); });
        QVERIFY(NeedsPassword(path));
        QVERIFY(OpensWith(path, "secret"));
        // It has one now: later saves ask nothing.
        Store().CatAdd("Shops");
        QVERIFY(qvs::SaveDataFile(false));
    }

    // No saves the file as it is, and the file is not asked about again in
    // this run; another file is.
    void declinedOfferIsNotRepeatedForThatFile() {
        qvs::SetFilePasswordOffer(true);
        const QString path = OpenFile("");
        Store().CatAdd("Shops");
        ModalScript script;
        Answer(script, 31000, false);
        Run(script, [] { QVERIFY(qvs::SaveDataFile(false)); });
        QVERIFY(!NeedsPassword(path));
        QVERIFY(!Store().NotSaved());

        Store().CatAdd("Cards");
        QVERIFY(qvs::SaveDataFile(false)); // no question this time

        const QString other = dir_->filePath(QStringLiteral("other.QVS"));
        ModalScript again;
        again.On<QFileDialog>([&](QFileDialog* d) { SaveAs(d, other); });
        Answer(again, 31000, false);
        Run(again, [] { QVERIFY(qvs::SaveDataFile(true)); });
        QVERIFY(!NeedsPassword(other));
    }

    void fileWithAPasswordIsNotAsked() {
        qvs::SetFilePasswordOffer(true);
        OpenFile("pw");
        Store().CatAdd("Shops");
        QVERIFY(qvs::SaveDataFile(false));
    }
};

QTEST_MAIN(TestFilePassword)
#include "tst_file_password.moc"
