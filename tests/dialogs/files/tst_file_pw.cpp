// The file password window in its three modes, driven like a user would.
#include "tests/frame/modal_script.h"
#include "tests/frame/test_language.h"

#include "dialogs/files/frm_file_pw.h"
#include "frame/frm_message.h"
#include "frame/modal_stack.h"
#include "store/pw.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using qvs::frmFilePW;
using qvs::frmMessage;

namespace {

QLineEdit* Box(QWidget* w, const char* name) {
    return w->findChild<QLineEdit*>(QString::fromLatin1(name));
}

void Click(QWidget* w, const char* name) {
    w->findChild<QPushButton*>(QString::fromLatin1(name))->click();
}

bool Shown(QWidget* w, const char* name) {
    return w->findChild<QWidget*>(QString::fromLatin1(name))->isVisibleTo(w);
}

void Type(frmFilePW* w, const QString& old, const QString& first, const QString& second) {
    Box(w, "txtPW3")->setText(old);
    Box(w, "txtPW1")->setText(first);
    Box(w, "txtPW2")->setText(second);
}

QString MessageText(frmMessage* m) {
    return m->findChild<QLabel*>(QStringLiteral("lblMsg"))->text();
}

bool HasIcon(frmMessage* m) {
    return Shown(m, "Pict");
}

} // namespace

class TestFilePW : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("QVS")); }
    void cleanup() { QCOMPARE(qvs::ModalDepth(), 0); }

    void enterModeReturnsTheTextAsTyped();
    void enterModeCancelAndTheCloseLock();
    void setModeStaysUntilTwoEqualEntries();
    void setModeAcceptsAnEmptyPasswordTwice();
    void changeModeRetriesThenChanges();
    void changeModeToAnEmptyPassword();
    void changeModeCancelKeepsThePassword();
    void changeModeCanMakeTheKeyDerivationSlower();

private:
    TestLanguage language_{{10, 11, 7000, 7001, 7002, 7003, 7004, 7005, 7006, 7007, 7008, 7050,
                            7051, 33005, 36404, 36403, 36405}};
};

void TestFilePW::enterModeReturnsTheTextAsTyped() {
    frmFilePW dialog;
    ModalScript script;
    script.On<frmFilePW>([](frmFilePW* w) {
        QCOMPARE(w->windowTitle(), TestLanguage::Text(7001));
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("Label1"))->text(), TestLanguage::Text(7003));
        QVERIFY(Shown(w, "cmdCancel"));
        QVERIFY(!Shown(w, "txtPW2") && !Shown(w, "txtPW3"));
        QVERIFY(!Shown(w, "Label2") && !Shown(w, "Label3"));
        QCOMPARE(Box(w, "txtPW1")->echoMode(), QLineEdit::Password);
        QTest::keyClicks(Box(w, "txtPW1"), QStringLiteral("  pass word "));
        QTest::keyClick(Box(w, "txtPW1"), Qt::Key_Return);
    });
    script.Start();
    QCOMPARE(dialog.controlla(), QStringLiteral("  pass word "));
    QVERIFY(script.Done());
    QVERIFY(!dialog.Cancelled());
}

void TestFilePW::enterModeCancelAndTheCloseLock() {
    frmFilePW byButton;
    ModalScript script;
    script.On<frmFilePW>([](frmFilePW* w) {
        Box(w, "txtPW1")->setText(QStringLiteral("typed"));
        w->close(); // the frame may not close it
        QVERIFY(w->isVisible());
        Click(w, "cmdCancel");
    });
    script.Start();
    QCOMPARE(byButton.controlla(), QString());
    QVERIFY(byButton.Cancelled());

    frmFilePW byEscape;
    ModalScript escape;
    escape.On<frmFilePW>([](frmFilePW* w) {
        Box(w, "txtPW1")->setText(QStringLiteral("typed"));
        QTest::keyClick(w, Qt::Key_Escape);
    });
    escape.Start();
    QCOMPARE(byEscape.controlla(), QString());
    QVERIFY(byEscape.Cancelled());
    QVERIFY(escape.Done());
}

void TestFilePW::setModeStaysUntilTwoEqualEntries() {
    frmFilePW dialog;
    ModalScript script;
    script.On<frmFilePW>([](frmFilePW* w) {
        QCOMPARE(w->windowTitle(), TestLanguage::Text(7000));
        QVERIFY(!Shown(w, "cmdCancel") && !Shown(w, "txtPW3"));
        QVERIFY(Shown(w, "txtPW2"));
        w->close();
        QTest::keyClick(w, Qt::Key_Escape);
        QVERIFY(w->isVisible());
        Type(w, QString(), QStringLiteral("Secret"), QStringLiteral("secret"));
        Click(w, "cmdOK");
    });
    script.On<frmMessage>([](frmMessage* m) {
        QCOMPARE(MessageText(m), TestLanguage::Text(7050));
        QVERIFY(HasIcon(m));
        Click(m, "cmdOK");
    });
    script.On<frmFilePW>([](frmFilePW* w) {
        QVERIFY(w->isVisible());
        QVERIFY(Box(w, "txtPW1")->text().isEmpty() && Box(w, "txtPW2")->text().isEmpty());
        Type(w, QString(), QStringLiteral("Secret"), QStringLiteral("Secret"));
        Click(w, "cmdOK");
    });
    script.Start();
    QCOMPARE(dialog.nuova(), QStringLiteral("Secret"));
    QVERIFY(script.Done());
    QVERIFY(!dialog.Cancelled());
}

void TestFilePW::setModeAcceptsAnEmptyPasswordTwice() {
    frmFilePW dialog;
    ModalScript script;
    script.On<frmFilePW>([](frmFilePW* w) { Click(w, "cmdOK"); });
    script.Start();
    QCOMPARE(dialog.nuova(), QString());
    QVERIFY(!dialog.Cancelled());
}

void TestFilePW::changeModeRetriesThenChanges() {
    ardeko::clsPW store;
    store.SetFilePW("old");
    frmFilePW dialog;
    ModalScript script;
    script.On<frmFilePW>([&](frmFilePW* w) {
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("Label1"))->text(), TestLanguage::Text(7005));
        QVERIFY(Shown(w, "txtPW3") && Shown(w, "txtPW2") && Shown(w, "cmdCancel"));
        Type(w, QStringLiteral("wrong"), QStringLiteral("new"), QStringLiteral("new"));
        Click(w, "cmdOK");
    });
    script.On<frmMessage>([](frmMessage* m) {
        QCOMPARE(MessageText(m), TestLanguage::Text(7051));
        QVERIFY(!HasIcon(m) && !Shown(m, "cmdCancel"));
        Click(m, "cmdOK");
    });
    script.On<frmFilePW>([&](frmFilePW* w) {
        QVERIFY(Box(w, "txtPW3")->text().isEmpty());
        QCOMPARE(w->focusWidget(), Box(w, "txtPW3"));
        QVERIFY(store.CheckFilePW("old"));
        Type(w, QStringLiteral("old"), QStringLiteral("new"), QStringLiteral("New"));
        Click(w, "cmdOK");
    });
    script.On<frmMessage>([](frmMessage* m) {
        QCOMPARE(MessageText(m), TestLanguage::Text(7050));
        Click(m, "cmdOK");
    });
    script.On<frmFilePW>([](frmFilePW* w) {
        QCOMPARE(Box(w, "txtPW3")->text(), QStringLiteral("old"));
        Box(w, "txtPW1")->setText(QStringLiteral("new"));
        Box(w, "txtPW2")->setText(QStringLiteral("new"));
        Click(w, "cmdOK");
    });
    script.On<frmMessage>([&](frmMessage* m) {
        QCOMPARE(MessageText(m), TestLanguage::Text(7007) + '\n' + TestLanguage::Text(7008));
        QVERIFY(HasIcon(m));
        QVERIFY(store.CheckFilePW("new")); // set before the user is told
        Click(m, "cmdOK");
    });
    script.Start();
    QVERIFY(dialog.changepw(store));
    QVERIFY(script.Done());
    QVERIFY(store.CheckFilePW("new"));
    QVERIFY(store.NotSaved());
}

void TestFilePW::changeModeToAnEmptyPassword() {
    ardeko::clsPW store;
    store.SetFilePW("old");
    frmFilePW dialog;
    QString told;
    ModalScript script;
    script.On<frmFilePW>([](frmFilePW* w) {
        Type(w, QStringLiteral("old"), QString(), QString());
        Click(w, "cmdOK");
    });
    script.On<frmMessage>([&](frmMessage* m) {
        told = MessageText(m);
        Click(m, "cmdOK");
    });
    script.Start();
    QVERIFY(dialog.changepw(store));
    QVERIFY(told.startsWith(TestLanguage::Text(7006) + '\n'));
    QVERIFY(store.CheckFilePW(""));
}

void TestFilePW::changeModeCancelKeepsThePassword() {
    ardeko::clsPW store; // a fresh store: no password, nothing to save
    frmFilePW dialog;
    ModalScript script;
    script.On<frmFilePW>([](frmFilePW* w) {
        Type(w, QString(), QStringLiteral("new"), QStringLiteral("new"));
        QTest::keyClick(w, Qt::Key_Escape);
    });
    script.Start();
    QVERIFY(!dialog.changepw(store));
    QVERIFY(dialog.Cancelled());
    QVERIFY(store.CheckFilePW(""));
    QVERIFY(!store.NotSaved());
}

// Only the change mode offers it; the new key is derived under the new
// password with at least the least a new file gets.
void TestFilePW::changeModeCanMakeTheKeyDerivationSlower() {
    ardeko::clsPW store;
    store.NewFile();
    store.SetFilePW("old");
    const ardeko::KdfParams before = store.KdfSettings();
    frmFilePW dialog;
    ModalScript script;
    script.On<frmFilePW>([](frmFilePW* w) {
        auto* stronger = w->findChild<QCheckBox*>(QStringLiteral("chkStronger"));
        QVERIFY(stronger->isVisibleTo(w) && !stronger->isChecked());
        QCOMPARE(stronger->text(), TestLanguage::Text(33005));
        QVERIFY(!Shown(w, "lblOpenTime"));
        // Ticked, it says how long an open will take: measured on this
        // machine while the window stays usable.
        stronger->setChecked(true);
        auto* openTime = w->findChild<QLabel*>(QStringLiteral("lblOpenTime"));
        QVERIFY(openTime->isVisibleTo(w));
        QCOMPARE(openTime->text(), TestLanguage::Text(36404));
        QTRY_COMPARE(openTime->text(), TestLanguage::Text(36403));
        stronger->setChecked(false);
        QVERIFY(!openTime->isVisibleTo(w));
        stronger->setChecked(true);
        QCOMPARE(openTime->text(), TestLanguage::Text(36403)); // measured once
        Type(w, QStringLiteral("old"), QStringLiteral("new"), QStringLiteral("new"));
        Click(w, "cmdOK");
    });
    script.On<frmMessage>([](frmMessage* m) { Click(m, "cmdOK"); });
    script.Start();
    QVERIFY(dialog.changepw(store));
    QVERIFY(script.Done());
    const ardeko::KdfParams after = store.KdfSettings();
    QVERIFY(after.passes >= std::max(2 * before.passes, ardeko::kKdfFloor.passes));
    QVERIFY(after.memoryKiB >= ardeko::kKdfFloor.memoryKiB);
    QVERIFY(store.CheckFilePW("new"));

    ModalScript enter;
    enter.On<frmFilePW>([](frmFilePW* w) {
        QVERIFY(!w->findChild<QCheckBox*>(QStringLiteral("chkStronger"))->isVisibleTo(w));
        Click(w, "cmdCancel");
    });
    enter.Start();
    dialog.controlla();
    QVERIFY(enter.Done());
}

QTEST_MAIN(TestFilePW)
#include "tst_file_pw.moc"
