// The store words its reasons in English; a window shows them in the
// user's language, with the file and the numbers they name, and shows a
// reason it has no translation for as the store worded it.
#include "frame/language.h"
#include "frame/store_reason.h"
#include "store/pw.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace qvs;

namespace {

void Use(const char* code) {
    QString language = QString::fromLatin1(code);
    QVERIFY(LoadLanguage(language));
}

} // namespace

class TestStoreReason : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // A file with a password, and the store that failed to open it.
    void FailToOpen(ardeko::clsPW& store, const QString& name, const char* password) {
        const QString path = dir_.filePath(name);
        ardeko::clsPW writer;
        writer.NewFile();
        writer.SetFilePW("right");
        QVERIFY(writer.SaveFile(path.toStdString(), false, false));
        QVERIFY(!store.LoadFile(path.toStdString(), password));
    }

private slots:
    void reasonsNamingAFileAreTranslated() {
        Use("ITA");
        ardeko::clsPW store;
        const auto wrongOrDamaged = [&](const QString& name) {
            const std::string path = dir_.filePath(name).toStdString();
            return QStringLiteral("La password del file %1 è sbagliata, oppure il file è "
                                  "danneggiato. Se la password è giusta, le sue copie di "
                                  "sicurezza potrebbero essere ancora integre: %2 e le copie "
                                  "datate in %3.")
                .arg(QString::fromStdString(path),
                     QString::fromStdString(store.BackupPathFor(path, false)),
                     QString::fromStdString(store.BackupFolder()));
        };
        FailToOpen(store, "Conti.QVS", "wrong");
        QCOMPARE(StoreReason(store), wrongOrDamaged("Conti.QVS"));
        // A name that looks like a mark is the name, nothing else.
        FailToOpen(store, "100%n %s.QVS", "wrong");
        QCOMPARE(StoreReason(store), wrongOrDamaged("100%n %s.QVS"));
        // The system's errors keep the path and the system's own words.
        QVERIFY(!store.SaveFile(dir_.filePath("no folder/x.QVS").toStdString(), false, false));
        QVERIFY(StoreReason(store).startsWith(
            QStringLiteral("Percorso non trovato: %1").arg(dir_.filePath("no folder/x.QVS"))));
    }

    void englishShowsTheStoresWords() {
        Use("ENG");
        ardeko::clsPW store;
        FailToOpen(store, "Accounts.QVS", "wrong");
        QCOMPARE(StoreReason(store), QString::fromStdString(store.ErrDescr()));
    }

    // What the older format cannot hold of browser filling: the file's
    // connections, and an entry's site permissions, named with the entry.
    void browserFillingRefusedByTheOlderFormat() {
        Use("ITA");
        const std::string path = dir_.filePath("legacy.QVS").toStdString();
        ardeko::clsPW store;
        store.NewFile();
        store.SetFilePW("pw");
        QVERIFY(store.AddBrowserLink("Firefox", "a2V5IG9mIHRoZSBicm93c2Vy"));
        store.SetFormat(ardeko::FileFormat::Legacy);
        QVERIFY(!store.SaveFile(path, false, false));
        QCOMPARE(StoreReason(store),
                 QStringLiteral("I collegamenti con il browser e i permessi per i siti non "
                                "possono essere memorizzati in un file del formato precedente; un "
                                "file del formato 2 può contenerli."));
        ardeko::clsPW entries;
        entries.NewFile();
        entries.SetFilePW("pw");
        ardeko::T_Password bank;
        bank.service = "Banca";
        QVERIFY(entries.PWAdd(bank));
        QVERIFY(entries.SetSitePermission("Banca", "banca.example", true));
        entries.SetFormat(ardeko::FileFormat::Legacy);
        QVERIFY(!entries.SaveFile(path, false, false));
        const QString reason = StoreReason(entries);
        QVERIFY2(reason.contains(QStringLiteral("Banca")) &&
                     reason.contains(QStringLiteral("i siti web a cui l'accesso è stato permesso o negato")),
                 qPrintable(reason));
    }

    void anUnknownReasonStaysAsWorded() {
        Use("ITA");
        ardeko::clsPW store;
        QVERIFY(!store.RaiseKdf({1, 1}, "x"));
        QVERIFY(!store.ErrDescr().empty());
        QCOMPARE(StoreReason(store), QString::fromStdString(store.ErrDescr()));
    }
};

QTEST_MAIN(TestStoreReason)
#include "tst_store_reason.moc"
