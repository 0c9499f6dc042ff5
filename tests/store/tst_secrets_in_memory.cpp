// Copies of a file password and an entry password in this process's
// memory after a format-2 file was saved, opened and closed.
#include "store/crypto/secret_key.h"
#include "store/pw.h"
#include "tests/store/memory_scan.h"
#include "tests/store/store_samples.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ardeko;
using namespace memscan;

namespace {

const std::string kFilePassword = Masked("file-password-0123456789-xyz");
const std::string kEntryPassword = Masked("entry-secret-9876543210-abc");
const std::string kEarlierPassword = Masked("earlier-secret-5555555555-def");
const std::string kCode = Masked("otpauth://totp/?secret=MFRGGZDFMZTWQ2LKNNWG23TPOBYXE");

} // namespace

class TestSecretsInMemory : public QObject {
    Q_OBJECT

private slots:
    void theScanFindsWhatIsThere() {
        std::string held = Unmasked(kFilePassword);
        QVERIFY(InMemory(kFilePassword));
        WipeString(held);
        QVERIFY(!InMemory(kFilePassword));
    }

    void noCopyAfterOpeningAndClosing() {
        QTemporaryDir dir;
        const std::string path = dir.filePath("m.QVS").toStdString();
        {
            clsPW s;
            s.NewFile();
            T_Password p = SampleEntry("Bank");
            std::string secret = Unmasked(kEntryPassword);
            p.pw.swap(secret);
            p.History.push_back({Unmasked(kEarlierPassword), 46000});
            p.Totp = Unmasked(kCode);
            s.InsertPassword(p);
            WipeString(p.pw);
            WipeString(p.History[0].pw);
            WipeString(p.Totp);
            std::string password = Unmasked(kFilePassword);
            s.SetFilePW(password);
            WipeString(password);
            QVERIFY(s.SaveFile(path, false));
            QVERIFY(!s.HoldsFilePassword());
        }
        QVERIFY(!InMemory(kFilePassword));
        for (const std::string* secret : {&kEntryPassword, &kEarlierPassword, &kCode})
            QVERIFY(!InMemory(*secret));

        clsPW r;
        std::string password = Unmasked(kFilePassword);
        QVERIFY(r.LoadFile(path, password));
        WipeString(password);
        // Open: the key is held, the password is not.
        QVERIFY(!InMemory(kFilePassword));
        QVERIFY(InMemory(kEntryPassword));
        QVERIFY(InMemory(kEarlierPassword));
        r.NewFile(); // closing the file
        QVERIFY(!InMemory(kFilePassword));
        for (const std::string* secret : {&kEntryPassword, &kEarlierPassword, &kCode})
            QVERIFY(!InMemory(*secret));
    }
};

QTEST_GUILESS_MAIN(TestSecretsInMemory)
#include "tst_secrets_in_memory.moc"
