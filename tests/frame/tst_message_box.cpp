// The message box: button sets, what closing it means, icons, captions.
#include "tests/frame/modal_script.h"
#include "tests/frame/test_language.h"

#include "frame/frm_message.h"
#include "frame/message_box.h"
#include "frame/modal_stack.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QtTest>

using qvs::frmMessage;

namespace {

enum class Act { First, Second, Third, Escape, CloseBox, Enter, EnterOnFirst };

struct Seen {
    QStringList buttons; // captions of the visible buttons, in order
    QString title;
    QString text;
    bool plainText = false;
    QImage icon;
};

QPushButton* Button(frmMessage* w, const char* name) {
    return w->findChild<QPushButton*>(QString::fromLatin1(name));
}

void Perform(frmMessage* w, Act act) {
    switch (act) {
    case Act::First:
        Button(w, "cmdOK")->click();
        break;
    case Act::Second:
        Button(w, "cmdNo")->click();
        break;
    case Act::Third:
        Button(w, "cmdCancel")->click();
        break;
    case Act::Escape:
        QTest::keyClick(w, Qt::Key_Escape);
        break;
    case Act::CloseBox:
        w->close();
        break;
    case Act::Enter:
        QTest::keyClick(w->focusWidget(), Qt::Key_Return);
        break;
    case Act::EnterOnFirst: // the focus strayed to the first button
        Button(w, "cmdOK")->setFocus();
        QTest::keyClick(Button(w, "cmdOK"), Qt::Key_Return);
        break;
    }
}

// Shows a message, notes what it looked like and answers it.
int Answer(int style, Act act, Seen* seen = nullptr, const QString& caption = QString(),
           const QString& text = QStringLiteral("message")) {
    ModalScript script;
    script.On<frmMessage>([&](frmMessage* w) {
        if (seen) {
            for (const char* name : {"cmdOK", "cmdNo", "cmdCancel"})
                if (Button(w, name)->isVisibleTo(w)) seen->buttons << Button(w, name)->text();
            seen->title = w->windowTitle();
            const auto* label = w->findChild<QLabel*>(QStringLiteral("lblMsg"));
            seen->text = label->text();
            seen->plainText = label->textFormat() == Qt::PlainText;
            const auto* pict = w->findChild<QLabel*>(QStringLiteral("Pict"));
            if (pict->isVisibleTo(w)) seen->icon = pict->pixmap().toImage();
        }
        Perform(w, act);
    });
    script.Start();
    const int answer = qvs::ShowMessage(text, style, caption);
    if (!script.Done()) qWarning("the message box was never answered");
    return answer;
}

QImage StandardIcon(QStyle::StandardPixmap which) {
    const int size = qApp->style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    return qApp->style()->standardIcon(which).pixmap(size, size).toImage();
}

} // namespace

class TestMessageBox : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("QVS")); }

    void answers_data();
    void answers();
    void captionsPerButtonSet_data();
    void captionsPerButtonSet();
    void iconsFollowTheStyle();
    void defaultButtonAnswersEnter();
    void captionAndText();
    void withoutLanguageButtonsStillSayWhatTheyDo();
};

void TestMessageBox::answers_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<Act>("act");
    QTest::addColumn<int>("expected");
    using namespace qvs;
    QTest::newRow("OK: button") << int(vbOKOnly) << Act::First << int(vbOK);
    QTest::newRow("OK: Escape") << int(vbOKOnly) << Act::Escape << int(vbOK);
    QTest::newRow("OK: close box") << int(vbOKOnly) << Act::CloseBox << int(vbOK);
    QTest::newRow("OK/Cancel: OK") << int(vbOKCancel) << Act::First << int(vbOK);
    QTest::newRow("OK/Cancel: Cancel") << int(vbOKCancel) << Act::Third << int(vbCancel);
    QTest::newRow("OK/Cancel: close box") << int(vbOKCancel) << Act::CloseBox << int(vbCancel);
    QTest::newRow("ARI: Retry") << int(vbAbortRetryIgnore) << Act::First << int(vbRetry);
    QTest::newRow("ARI: Ignore") << int(vbAbortRetryIgnore) << Act::Second << int(vbIgnore);
    QTest::newRow("ARI: Abort") << int(vbAbortRetryIgnore) << Act::Third << int(vbAbort);
    QTest::newRow("ARI: Escape") << int(vbAbortRetryIgnore) << Act::Escape << int(vbAbort);
    QTest::newRow("YNC: Yes") << int(vbYesNoCancel) << Act::First << int(vbYes);
    QTest::newRow("YNC: No") << int(vbYesNoCancel) << Act::Second << int(vbNo);
    QTest::newRow("YNC: Cancel") << int(vbYesNoCancel) << Act::Third << int(vbCancel);
    QTest::newRow("YNC: close box") << int(vbYesNoCancel) << Act::CloseBox << int(vbCancel);
    QTest::newRow("YN: Yes") << int(vbYesNo) << Act::First << int(vbYes);
    QTest::newRow("YN: No") << int(vbYesNo) << Act::Second << int(vbNo);
    QTest::newRow("YN: close box") << int(vbYesNo) << Act::CloseBox << int(vbNo);
    QTest::newRow("YN: Escape") << int(vbYesNo) << Act::Escape << int(vbNo);
    QTest::newRow("RC: Retry") << int(vbRetryCancel) << Act::First << int(vbRetry);
    QTest::newRow("RC: Cancel") << int(vbRetryCancel) << Act::Third << int(vbCancel);
    QTest::newRow("RC: close box") << int(vbRetryCancel) << Act::CloseBox << int(vbCancel);
    QTest::newRow("icon bits do not change the set")
        << int(vbYesNo | vbQuestion) << Act::CloseBox << int(vbNo);
    QTest::newRow("unknown set is a plain OK box") << 7 << Act::CloseBox << int(vbOK);
}

void TestMessageBox::answers() {
    TestLanguage language({10, 11, 12, 13, 14, 15, 16});
    QFETCH(int, style);
    QFETCH(Act, act);
    QFETCH(int, expected);
    QCOMPARE(Answer(style, act), expected);
    QCOMPARE(qvs::ModalDepth(), 0);
}

void TestMessageBox::captionsPerButtonSet_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QList<int>>("texts");
    QTest::newRow("OK") << 0 << QList<int>{10};
    QTest::newRow("OK/Cancel") << 1 << QList<int>{10, 11};
    QTest::newRow("Abort/Retry/Ignore") << 2 << QList<int>{15, 16, 12};
    QTest::newRow("Yes/No/Cancel") << 3 << QList<int>{14, 13, 11};
    QTest::newRow("Yes/No") << 4 << QList<int>{14, 13};
    QTest::newRow("Retry/Cancel") << 5 << QList<int>{15, 11};
}

void TestMessageBox::captionsPerButtonSet() {
    TestLanguage language({10, 11, 12, 13, 14, 15, 16});
    QFETCH(int, style);
    QFETCH(QList<int>, texts);
    QStringList expected;
    for (int id : texts)
        expected << TestLanguage::Text(id);
    Seen seen;
    Answer(style, Act::CloseBox, &seen);
    QCOMPARE(seen.buttons, expected);
}

void TestMessageBox::iconsFollowTheStyle() {
    TestLanguage language({10, 13, 14});
    const std::pair<int, QStyle::StandardPixmap> icons[] = {
        {qvs::vbCritical, QStyle::SP_MessageBoxCritical},
        {qvs::vbQuestion, QStyle::SP_MessageBoxQuestion},
        {qvs::vbExclamation, QStyle::SP_MessageBoxWarning},
        {qvs::vbInformation, QStyle::SP_MessageBoxInformation},
    };
    for (const auto& [flag, pixmap] : icons) {
        Seen seen;
        Answer(qvs::vbYesNo | flag, Act::CloseBox, &seen);
        QVERIFY(!seen.icon.isNull());
        QCOMPARE(seen.icon, StandardIcon(pixmap));
    }
    Seen plain;
    Answer(qvs::vbOKOnly, Act::CloseBox, &plain);
    QVERIFY(plain.icon.isNull());
    // Flags 4 + 32: question icon with the Yes and No texts.
    Seen question;
    Answer(4 + 32, Act::CloseBox, &question);
    QCOMPARE(question.icon, StandardIcon(QStyle::SP_MessageBoxQuestion));
    QCOMPARE(question.buttons, (QStringList{TestLanguage::Text(14), TestLanguage::Text(13)}));
}

void TestMessageBox::defaultButtonAnswersEnter() {
    TestLanguage language({11, 13, 14});
    QCOMPARE(Answer(qvs::vbYesNoCancel, Act::Enter), int(qvs::vbYes));
    QCOMPARE(Answer(qvs::vbYesNoCancel | qvs::vbDefaultButton2, Act::Enter), int(qvs::vbNo));
    QCOMPARE(Answer(qvs::vbYesNoCancel | qvs::vbDefaultButton3, Act::Enter), int(qvs::vbCancel));
    // A default beyond the visible buttons falls back to the first.
    QCOMPARE(Answer(qvs::vbYesNo | qvs::vbDefaultButton3, Act::Enter), int(qvs::vbYes));
    // Enter answers the default even when the focus is on another button,
    // so a "No" default to a question that discards data holds.
    QCOMPARE(Answer(qvs::vbYesNo | qvs::vbDefaultButton2, Act::EnterOnFirst), int(qvs::vbNo));
}

void TestMessageBox::captionAndText() {
    TestLanguage language({10});
    Seen named;
    Answer(qvs::vbOKOnly, Act::First, &named, QStringLiteral("Title"));
    QCOMPARE(named.title, QStringLiteral("Title"));

    QCoreApplication::setApplicationName(QStringLiteral("QVSLite"));
    Seen unnamed;
    Answer(qvs::vbOKOnly, Act::First, &unnamed, QString(),
           QStringLiteral("<b>first</b>\rsecond\r\nthird"));
    QCoreApplication::setApplicationName(QStringLiteral("QVS"));
    QCOMPARE(unnamed.title, QStringLiteral("QVSLite"));
    // Messages quote names as they are: no markup, "\r" breaks the line.
    QVERIFY(unnamed.plainText);
    QCOMPARE(unnamed.text, QStringLiteral("<b>first</b>\nsecond\nthird"));
}

void TestMessageBox::withoutLanguageButtonsStillSayWhatTheyDo() {
    Seen seen;
    QCOMPARE(Answer(qvs::vbYesNo | qvs::vbCritical, Act::First, &seen), int(qvs::vbYes));
    QCOMPARE(seen.buttons.size(), 2);
    for (const QString& caption : seen.buttons) {
        QVERIFY(!caption.isEmpty());
        QVERIFY(caption != QLatin1String(qvs::kNoLocalData));
    }
}

QTEST_MAIN(TestMessageBox)
#include "tst_message_box.moc"
