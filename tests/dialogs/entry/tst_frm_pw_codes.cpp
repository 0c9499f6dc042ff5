// The editor's one-time code and earlier passwords: the code shown is the
// one the published test vector gives, a secret is stored as an address and
// refused with a reason, QR code images are read, and an earlier password
// restored becomes the password with the replaced one kept.
#include "tests/dialogs/entry/editor_fixture.h"

#include "dialogs/entry/code_panel.h"
#include "frame/modal_stack.h"
#include "frame/one_time_code.h"
#include "store/pw.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTreeWidget>

using qvs::frmPW;
using qvs::Store;

namespace {

// RFC 6238's SHA-1 secret "12345678901234567890", in base32 as people paste it.
const QString kPastedSecret = QStringLiteral("gezd gnbv gy3t qojq gezd gnbv gy3t qojq");
const std::string kSecretBytes = "12345678901234567890";

const ardeko::T_Password* Entry(const char* service) {
    return Store().Password().Find(service);
}

qvs::CodePanel* Codes(QWidget* w) {
    return w->findChild<qvs::CodePanel*>();
}

} // namespace

class TestFrmPWCodes : public QObject {
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
        p.User = "anna";
        p.pw = "first";
        QVERIFY(Store().PWAdd(p));
        qvs::Opt() = qvs::DefaultOptions();
        main_ = std::make_unique<RecordingMain>();
        qvs::SetCurrentMainWindow(main_.get());
        qvs::SetCodeClock([] { return std::int64_t{1111111109}; });
    }
    void cleanup() {
        qvs::SetCodeClock({});
        CloseEditors();
    }

    void showsTheCodeAndStoresAnAddress() {
        QPointer<frmPW> w = qvs::PasswordEdit(QStringLiteral("Bank A"));
        Box(w, "txtTotp")->setText(kPastedSecret);
        // 07081804 at that time (RFC 6238), six digits by default; 29 s of
        // its 30 have gone.
        QCOMPARE(Codes(w)->ShownCode(), QStringLiteral("081804"));
        QCOMPARE(Child<QLabel>(w, "lblCodeLeft")->text(), Text(35113, QStringLiteral("1")));
        qvs::SetCodeClock([] { return std::int64_t{59}; });
        Codes(w)->UpdateCode(); // the second's tick
        QCOMPARE(Codes(w)->ShownCode(), QStringLiteral("287082"));
        Confirm(w);
        QVERIFY(!w);
        const std::string stored = Entry("Bank A")->Totp;
        QVERIFY(stored.starts_with("otpauth://totp/"));
        QCOMPARE(ardeko::ParseTotp(stored).params->secret, kSecretBytes);

        // Opened again untouched, the entry stays exactly as stored.
        w = qvs::PasswordEdit(QStringLiteral("Bank A"));
        QCOMPARE(Codes(w)->ShownCode(), QStringLiteral("287082"));
        QVERIFY(!w->HasChanges());
        Box(w, "txtTotp")->clear(); // removes the code
        Confirm(w);
        QVERIFY(Entry("Bank A")->Totp.empty());
    }

    void refusesABadSecretWithItsReason_data() {
        QTest::addColumn<QString>("secret");
        QTest::addColumn<int>("textId");
        QTest::newRow("not base32") << QStringLiteral("GEZD GNBV GY3T QOJ1") << 35122;
        QTest::newRow("too short") << QStringLiteral("GEZDGNBV") << 35127;
        QTest::newRow("digits") << QStringLiteral(
                                       "otpauth://totp/x?secret=GEZDGNBVGY3TQOJQGEZD&digits=9")
                                << 35124;
    }
    void refusesABadSecretWithItsReason() {
        QFETCH(QString, secret);
        QFETCH(int, textId);
        QPointer<frmPW> w = qvs::PasswordEdit(QStringLiteral("Bank A"));
        Box(w, "txtTotp")->setText(secret);
        QVERIFY(Codes(w)->ShownCode().isEmpty());
        QCOMPARE(Answering({true}, [&] { Confirm(w); }), QStringList{Text(textId)});
        QVERIFY(w);
        QVERIFY(Entry("Bank A")->Totp.empty());
    }

    void readsTheSecretFromAQrCodeImage() {
        const QString qrencode = QStandardPaths::findExecutable(QStringLiteral("qrencode"));
        if (qrencode.isEmpty()) QSKIP("qrencode is not installed (scripts/install-deps)");
        QTemporaryDir dir;
        const QString code = dir.filePath(QStringLiteral("code.png"));
        const QString address = QStringLiteral(
            "otpauth://totp/Bank:anna?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ&issuer=Bank");
        QCOMPARE(QProcess::execute(qrencode, {QStringLiteral("-o"), code, address}), 0);
        QImage blank(200, 200, QImage::Format_RGB32);
        blank.fill(Qt::white);
        const QString empty = dir.filePath(QStringLiteral("blank.png"));
        QVERIFY(blank.save(empty));
        const QString notImage = dir.filePath(QStringLiteral("notes.txt"));
        QFile(notImage).open(QIODevice::WriteOnly);

        QPointer<frmPW> w = qvs::PasswordEdit(QStringLiteral("Bank A"));
        qvs::CodePanel* codes = Codes(w);
        QCOMPARE(Answering({true}, [&] { QVERIFY(!codes->ReadImageFile(empty)); }),
                 QStringList{Text(35128, empty)});
        QCOMPARE(Answering({true}, [&] { QVERIFY(!codes->ReadImageFile(notImage)); }),
                 QStringList{Text(35129, notImage)});
        QVERIFY(Box(w, "txtTotp")->text().isEmpty());
        QVERIFY(codes->ReadImageFile(code));
        const auto params = ardeko::ParseTotp(Box(w, "txtTotp")->text().toStdString()).params;
        QVERIFY(params);
        QCOMPARE(params->secret, kSecretBytes);
        QCOMPARE(params->issuer, std::string("Bank"));
        QCOMPARE(codes->ShownCode(), QStringLiteral("081804"));
    }

    // Restoring hands the earlier password back; the save keeps the one it
    // replaces, and the rest of the list as it was.
    void restoresAnEarlierPassword() {
        for (const char* pw : {"second", "third"}) {
            ardeko::T_Password p = *Entry("Bank A");
            p.pw = pw;
            QVERIFY(Store().PWEdit(p, p.service, p.Codcat, p.CodSCat));
        }
        QCOMPARE(Entry("Bank A")->History.size(), std::size_t(2)); // second, first
        qvs::Opt().SecurityLevel = 1;
        QPointer<frmPW> w = qvs::PasswordEdit(QStringLiteral("Bank A"));
        auto* list = Child<QTreeWidget>(w, "lstHistory");
        QCOMPARE(list->topLevelItemCount(), 2);
        QVERIFY(!list->topLevelItem(1)->text(0).contains(QLatin1String("first"))); // masked
        list->setCurrentItem(list->topLevelItem(1));
        Child<QPushButton>(w, "cmdRestoreOld")->click();
        QCOMPARE(Box(w, "txtPw")->text(), QStringLiteral("first"));
        QCOMPARE(Box(w, "txtPW2")->text(), QStringLiteral("first"));
        Confirm(w);
        QVERIFY(!w);
        const ardeko::T_Password* saved = Entry("Bank A");
        QCOMPARE(saved->pw, std::string("first"));
        QCOMPARE(saved->History.size(), std::size_t(2));
        QCOMPARE(saved->History[0].pw, std::string("third"));
        QCOMPARE(saved->History[1].pw, std::string("second"));

        // A change elsewhere passes the list through untouched.
        const auto before = saved->History;
        w = qvs::PasswordEdit(QStringLiteral("Bank A"));
        Box(w, "txtName")->setText(QStringLiteral("anna2"));
        Confirm(w);
        QVERIFY(Entry("Bank A")->History == before);
    }

private:
    std::unique_ptr<RecordingMain> main_;
};

QTEST_MAIN(TestFrmPWCodes)
#include "tst_frm_pw_codes.moc"
