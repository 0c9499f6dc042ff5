// The editor's extra fields: protected values masked until shown, copied as
// secrets, a value of several lines kept exactly, added and renamed fields
// saved, and the names checked before anything is saved.
#include "tests/dialogs/entry/editor_fixture.h"

#include "autotype/secret_clipboard.h"
#include "dialogs/entry/custom_fields_panel.h"
#include "store/pw.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMimeData>
#include <QTableWidget>

using qvs::frmPW;
using qvs::Store;

namespace {

const std::vector<ardeko::T_CustomField> kFields = {
    {"PIN", "1234", true},
    {"Key", "-----BEGIN KEY-----\nAAAA\n-----END KEY-----\n", true},
    {"Branch", "North", false}};

const ardeko::T_Password* Entry() {
    return Store().Password().Find("Bank A");
}

qvs::CustomFieldsPanel* Fields(QWidget* w) {
    return w->findChild<qvs::CustomFieldsPanel*>();
}

QLineEdit* Value(QWidget* w, int row) {
    return Box(w, QStringLiteral("txtFieldValue%1").arg(row).toLatin1().constData());
}

} // namespace

class TestFrmPWFields : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QString code = QStringLiteral("ENG");
        QVERIFY(qvs::LoadLanguage(code));
    }
    void init() {
        qvs::App().store = std::make_unique<ardeko::clsPW>();
        Store().SetClock([] { return kNow; });
        ardeko::T_Password p;
        p.service = "Bank A";
        p.pw = "first";
        p.Fields = kFields;
        QVERIFY(Store().PWAdd(p));
        qvs::Opt() = qvs::DefaultOptions();
        main_ = std::make_unique<RecordingMain>();
        qvs::SetCurrentMainWindow(main_.get());
    }
    void cleanup() { CloseEditors(); }

    void protectedValuesShownOnlyOnRequest() {
        QPointer<frmPW> w = qvs::PasswordEdit(QStringLiteral("Bank A"));
        for (int row : {0, 1}) {
            QVERIFY(!Value(w, row)->text().contains("1234") &&
                    !Value(w, row)->text().contains("AAAA"));
            QVERIFY(Value(w, row)->isReadOnly());
        }
        QCOMPARE(Value(w, 2)->text(), QStringLiteral("North"));
        Fields(w)->Table()->setCurrentCell(0, 0);
        Child<QPushButton>(w, "cmdShowField")->click();
        QCOMPARE(Value(w, 0)->text(), QStringLiteral("1234"));
        QCOMPARE(Child<QPushButton>(w, "cmdShowField")->text(), Text(36858));
        Child<QPushButton>(w, "cmdShowField")->click();
        QVERIFY(!Value(w, 0)->text().contains("1234"));
        // Copied as a secret, so that clipboard managers keep no history.
        Fields(w)->Table()->setCurrentCell(1, 0);
        Child<QPushButton>(w, "cmdCopyField")->click();
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        QCOMPARE(copied->text(), QString::fromStdString(kFields[1].value));
        QVERIFY(copied->hasFormat(QString::fromLatin1(qvs::kPasswordHintType)));
        qvs::ClearSecretFromClipboard();
        // Untouched, every value is saved exactly as it was.
        Confirm(w);
        QVERIFY(!w);
        QCOMPARE(Entry()->Fields, kFields);
    }

    void addedAndEditedFieldsAreSaved() {
        QPointer<frmPW> w = qvs::PasswordEdit(QStringLiteral("Bank A"));
        QTest::keyClicks(Box(w, "txtFieldName2"), " office");
        Child<QCheckBox>(w, "chkFieldProtected2")->setChecked(true);
        QVERIFY(!Value(w, 2)->text().contains("North")); // masked at once
        Child<QPushButton>(w, "cmdAddField")->click();
        QTest::keyClicks(Box(w, "txtFieldName3"), "Customer no.");
        QTest::keyClicks(Value(w, 3), "C-77");
        Child<QPushButton>(w, "cmdAddField")->click(); // left empty: not a field
        Confirm(w);
        QVERIFY(!w);
        QCOMPARE(Entry()->Fields,
                 (std::vector<ardeko::T_CustomField>{kFields[0],
                                                     kFields[1],
                                                     {"Branch office", "North", true},
                                                     {"Customer no.", "C-77", false}}));
        // Removing one leaves the others as they were.
        w = qvs::PasswordEdit(QStringLiteral("Bank A"));
        Fields(w)->Table()->setCurrentCell(0, 0);
        Child<QPushButton>(w, "cmdRemoveField")->click();
        Confirm(w);
        QCOMPARE(Entry()->Fields.size(), std::size_t(3));
        QCOMPARE(Entry()->Fields[0], kFields[1]);
    }

    void namesAreCheckedBeforeSaving() {
        QPointer<frmPW> w = qvs::PasswordEdit(QStringLiteral("Bank A"));
        Child<QPushButton>(w, "cmdAddField")->click();
        QTest::keyClicks(Value(w, 3), "orphan");
        QCOMPARE(Answering({true}, [&] { Child<QPushButton>(w, "cmdOK")->click(); }),
                 QStringList{Text(36861)});
        QVERIFY(w);
        QTest::keyClicks(Box(w, "txtFieldName3"), "pin");
        QCOMPARE(Answering({true}, [&] { Child<QPushButton>(w, "cmdOK")->click(); }),
                 QStringList{Text(36862, QStringLiteral("pin"))});
        QCOMPARE(Entry()->Fields, kFields); // nothing saved
    }

    // The older format has no place for them: the page says so, and a save
    // of an entry that holds some is refused naming it.
    void olderFormatSaysWhy() {
        Store().SetFormat(ardeko::FileFormat::Legacy);
        ardeko::T_Password plain;
        plain.service = "Plain";
        QVERIFY(Store().PWAdd(plain));
        QPointer<frmPW> w = qvs::PasswordEdit(QStringLiteral("Plain"));
        QVERIFY(!Child<QLabel>(w, "lblFieldsFormat")->isHidden());
        QVERIFY(!Fields(w)->isEnabled());
        Settle();
        CloseEditors();
        qvs::SetCurrentMainWindow(main_.get());
        w = qvs::PasswordEdit(QStringLiteral("Bank A"));
        QVERIFY(Fields(w)->isEnabled()); // what it holds can still be removed
    }

private:
    std::unique_ptr<RecordingMain> main_;
};

QTEST_MAIN(TestFrmPWFields)
#include "tst_frm_pw_fields.moc"
