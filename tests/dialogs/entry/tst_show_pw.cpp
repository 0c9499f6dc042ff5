// The user name / password window: what it shows, masking, copying with the
// secret mark (cleared again later), dragging the text out, and the entry's
// one-time code, and the entry's extra fields (protected ones masked until
// shown).
#include "tests/frame/test_language.h"

#include "autotype/secret_clipboard.h"
#include "dialogs/entry/frm_show_pw.h"
#include "frame/lock_request.h"
#include "frame/modal_stack.h"
#include "frame/one_time_code.h"
#include "store/pw.h"

#include <QClipboard>
#include <QDrag>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <vector>

using qvs::frmShowPW;

namespace {

QLineEdit* Box(QWidget* w, const char* name) {
    return w->findChild<QLineEdit*>(QString::fromLatin1(name));
}

// Clicks a copy button over something else on the clipboard: expected
// arrives, marked as a secret.
void CheckMarkedCopy(QWidget* w, const char* button, const QString& expected) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("something else"));
    w->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    const QMimeData* data = clipboard->mimeData();
    QCOMPARE(data->text(), expected);
    QCOMPARE(data->data(QString::fromLatin1(qvs::kPasswordHintType)), QByteArray("secret"));
}

void Close(QPointer<frmShowPW>& w) {
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestShowPW : public QObject {
    Q_OBJECT
private slots:
    void init() {
        ardeko::T_Password entry;
        entry.service = "Bank A";
        entry.User = "anna";
        entry.pw = "s3cr<e>t ";
        store_ = std::make_unique<ardeko::clsPW>();
        QVERIFY(store_->PWAdd(entry));
    }
    void cleanup() { QCOMPARE(qvs::ModalDepth(), 0); }

    void showsTheEntry_data();
    void showsTheEntry();
    void unknownServiceOpensNothing();
    void copyPutsMarkedSecretsOnTheClipboard();
    void copiesLeaveTheClipboardAfterTheDelay();
    void livesOnTheStackUntilClosed();
    void ctrlLLocksAsTheMainWindowDoes();
    void pressSelectsAndDragCarriesPlainText();
    void showsTheCodeOnlyWhenTheEntryHasOne();
    void showsExtraFieldsProtectedOnesOnRequest();
    void copiesExtraFieldsAsSecretsAndClearsThem();
    void anotherEntryReplacesTheFields();

private:
    TestLanguage language_{{12001, 12002, 12003, 35111, 35113, 36857, 36858}};
    // An entry with a protected PIN, a protected key of several lines, a
    // plain field and an empty protected one.
    void AddFieldsEntry();
    std::unique_ptr<ardeko::clsPW> store_;
};

void TestShowPW::showsTheEntry_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("masked");
    QTest::newRow("clear") << 0 << false;
    QTest::newRow("intermediate") << 1 << false;
    QTest::newRow("hidden") << 2 << true;
}

void TestShowPW::showsTheEntry() {
    QFETCH(int, level);
    QFETCH(bool, masked);
    QPointer<frmShowPW> w = qvs::OpenShowPW(*store_, QStringLiteral("bank a"), level);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Bank A"));
    QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(Box(w, "txtUser")->text(), QStringLiteral("anna"));
    QCOMPARE(Box(w, "txtPW")->text(), QStringLiteral("s3cr<e>t "));
    QCOMPARE(Box(w, "txtPW")->echoMode() == QLineEdit::Password, masked);
    QCOMPARE(Box(w, "txtUser")->echoMode(), QLineEdit::Normal);
    QCOMPARE(w->findChild<QPushButton*>(QStringLiteral("CMDCPPW"))->text(),
             TestLanguage::Text(12003));
    Close(w);
}

void TestShowPW::unknownServiceOpensNothing() {
    QVERIFY(!qvs::OpenShowPW(*store_, QStringLiteral("Nobody"), 0));
}

void TestShowPW::copyPutsMarkedSecretsOnTheClipboard() {
    QPointer<frmShowPW> w = qvs::OpenShowPW(*store_, QStringLiteral("Bank A"), 2);
    CheckMarkedCopy(w, "cmdCPUser", QStringLiteral("anna"));
    CheckMarkedCopy(w, "CMDCPPW", QStringLiteral("s3cr<e>t "));
    Close(w);
}

void TestShowPW::copiesLeaveTheClipboardAfterTheDelay() {
    std::vector<std::function<void()>> timers;
    qvs::SetClipboardClearTimer(
        [&](std::chrono::milliseconds, std::function<void()> done) { timers.push_back(done); });
    QPointer<frmShowPW> w = qvs::OpenShowPW(*store_, QStringLiteral("Bank A"), 0);
    for (const char* button : {"cmdCPUser", "CMDCPPW"}) {
        w->findChild<QPushButton*>(QString::fromLatin1(button))->click();
        QVERIFY(!QGuiApplication::clipboard()->text().isEmpty());
        QVERIFY(!timers.empty());
        timers.back()();
        QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
    }
    qvs::SetClipboardClearTimer({});
    Close(w);
}

void TestShowPW::livesOnTheStackUntilClosed() {
    // Each call opens a window of its own.
    QPointer<frmShowPW> first = qvs::OpenShowPW(*store_, QStringLiteral("Bank A"), 0);
    QPointer<frmShowPW> second = qvs::OpenShowPW(*store_, QStringLiteral("Bank A"), 0);
    QVERIFY(first && second && first != second);
    QCOMPARE(qvs::ModalDepth(), 2);
    Close(first); // out of order
    QVERIFY(!first);
    QCOMPARE(qvs::TopModal(), second.data());
    QVERIFY(second->isEnabled());
    Close(second);
    QVERIFY(!second);
}

// The window shows a password in tray mode too, where no main window's
// menu is there to lock with: its own Ctrl+L asks for the same lock.
void TestShowPW::ctrlLLocksAsTheMainWindowDoes() {
    int locks = 0;
    qvs::SetLockRequest([&locks] { ++locks; });
    QPointer<frmShowPW> w = qvs::OpenShowPW(*store_, QStringLiteral("Bank A"), 0);
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(Box(w, "txtPW"), Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(locks, 1);
    qvs::SetLockRequest({});
    QTest::keyClick(Box(w, "txtPW"), Qt::Key_L, Qt::ControlModifier); // nothing set: nothing
    QCOMPARE(locks, 1);
    Close(w);
}

void TestShowPW::pressSelectsAndDragCarriesPlainText() {
    QPointer<frmShowPW> w = qvs::OpenShowPW(*store_, QStringLiteral("Bank A"), 2);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QLineEdit* user = Box(w, "txtUser");
    QLineEdit* password = Box(w, "txtPW");
    // Through the window, so that Qt knows the button is held while dragging.
    QWindow* window = w->windowHandle();
    const QPoint press = password->mapTo(w, QPoint(5, 5));
    user->selectAll();
    QTest::mousePress(window, Qt::LeftButton, {}, press);
    QVERIFY(!user->hasSelectedText());
    QCOMPARE(password->selectedText(), password->text());

    QStringList formats;
    QString dragged;
    QTimer::singleShot(0, w, [&] {
        if (auto* drag = w->findChild<QDrag*>()) {
            formats = drag->mimeData()->formats();
            dragged = drag->mimeData()->text();
        }
        QTest::mouseRelease(window, Qt::LeftButton, {}, press + QPoint(60, 0));
    });
    QTest::mouseMove(window, press + QPoint(60, 0));
    QCOMPARE(dragged, QStringLiteral("s3cr<e>t "));
    QCOMPARE(formats, QStringList{QStringLiteral("text/plain")});
    Close(w);
}

void TestShowPW::showsTheCodeOnlyWhenTheEntryHasOne() {
    ardeko::T_Password coded;
    coded.service = "Mail";
    // RFC 6238's SHA-1 secret.
    coded.Totp = "otpauth://totp/Mail?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ";
    QVERIFY(store_->PWAdd(coded));
    std::int64_t now = 1111111109;
    qvs::SetCodeClock([&] { return now; });
    QPointer<frmShowPW> w = qvs::OpenShowPW(*store_, QStringLiteral("Mail"), 2);
    auto* code = w->findChild<QLabel*>(QStringLiteral("lblCode"));
    auto* copy = w->findChild<QPushButton*>(QStringLiteral("cmdCopyCode"));
    QVERIFY(code->isVisible() && copy->isEnabled());
    QCOMPARE(code->text(), QStringLiteral("081804"));
    QVERIFY(w->findChild<QLabel*>(QStringLiteral("lblCodeLeft"))->text().startsWith(u"txt35113"));
    now = 59; // the next second's tick shows the new code
    QTRY_COMPARE_WITH_TIMEOUT(code->text(), QStringLiteral("287082"), 2500);
    copy->click();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(data->text(), QStringLiteral("287082"));
    QCOMPARE(data->data(QString::fromLatin1(qvs::kPasswordHintType)), QByteArray("secret"));
    Close(w);

    w = qvs::OpenShowPW(*store_, QStringLiteral("Bank A"), 2);
    QVERIFY(!w->findChild<QLabel*>(QStringLiteral("lblCode"))->isVisible());
    QVERIFY(!w->findChild<QPushButton*>(QStringLiteral("cmdCopyCode"))->isVisible());
    Close(w);
    qvs::SetCodeClock({});
}

void TestShowPW::AddFieldsEntry() {
    ardeko::T_Password entry;
    entry.service = "Card";
    entry.pw = "card-pw";
    entry.Fields = {{"PIN", "4711", true},
                    {"Key", "line 1\nline 2\n", true},
                    {"Branch", "Z\u00fcrich", false},
                    {"Answer", "", true}};
    QVERIFY(store_->PWAdd(entry));
}

void TestShowPW::showsExtraFieldsProtectedOnesOnRequest() {
    AddFieldsEntry();
    // Masked even where the password is shown in clear.
    QPointer<frmShowPW> w = qvs::OpenShowPW(*store_, QStringLiteral("Card"), 0);
    const QString mask(8, QChar(0x25CF));
    const QStringList names{"PIN", "Key", "Branch", "Answer"};
    const QStringList masked{mask, mask, QStringLiteral("Z\u00fcrich"), QString()};
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblField%1").arg(i))->text(),
                 names[i] + u':');
        QLineEdit* box = Box(w, qPrintable(QStringLiteral("txtField%1").arg(i)));
        QCOMPARE(box->text(), masked[i]);
        QVERIFY(box->isReadOnly());
    }
    QVERIFY(!w->findChild<QPushButton*>(QStringLiteral("cmdShowField2"))); // plain: nothing to show
    auto* show = w->findChild<QPushButton*>(QStringLiteral("cmdShowField1"));
    QCOMPARE(show->text(), TestLanguage::Text(36857));
    show->click();
    QCOMPARE(Box(w, "txtField1")->text(), QStringLiteral("line 1\u23CEline 2\u23CE"));
    QCOMPARE(Box(w, "txtField0")->text(), mask); // one field at a time
    QCOMPARE(show->text(), TestLanguage::Text(36858));
    show->click();
    QCOMPARE(Box(w, "txtField1")->text(), mask);
    QCOMPARE(show->text(), TestLanguage::Text(36857));
    Close(w);
}

void TestShowPW::copiesExtraFieldsAsSecretsAndClearsThem() {
    AddFieldsEntry();
    std::vector<std::function<void()>> timers;
    qvs::SetClipboardClearTimer(
        [&](std::chrono::milliseconds, std::function<void()> done) { timers.push_back(done); });
    QPointer<frmShowPW> w = qvs::OpenShowPW(*store_, QStringLiteral("Card"), 0);
    // The value itself, never the mask nor the marks of the box.
    const std::pair<const char*, QString> copies[] = {
        {"cmdCPField0", QStringLiteral("4711")},
        {"cmdCPField1", QStringLiteral("line 1\nline 2\n")},
        {"cmdCPField2", QStringLiteral("Z\u00fcrich")}};
    for (const auto& [button, expected] : copies) {
        CheckMarkedCopy(w, button, expected);
        QVERIFY(!timers.empty());
        timers.back()();
        QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
    }
    QVERIFY(!w->findChild<QPushButton*>(QStringLiteral("cmdCPField3"))->isEnabled());
    qvs::SetClipboardClearTimer({});
    Close(w);
}

// The window filled again for another entry shows that entry's fields only.
void TestShowPW::anotherEntryReplacesTheFields() {
    AddFieldsEntry();
    frmShowPW w(0);
    QVERIFY(w.ShowPW(*store_, QStringLiteral("Card")));
    QCOMPARE(w.findChildren<QLineEdit*>().size(), 6);
    QVERIFY(w.ShowPW(*store_, QStringLiteral("Bank A")));
    QCOMPARE(w.findChildren<QLineEdit*>().size(), 2);
    QVERIFY(!w.findChild<QLabel*>(QStringLiteral("lblField0")));
    QVERIFY(w.ShowPW(*store_, QStringLiteral("Card")));
    QCOMPARE(Box(&w, "txtField0")->text(), QString(8, QChar(0x25CF)));
    w.close();
}

QTEST_MAIN(TestShowPW)
#include "tst_show_pw.moc"
