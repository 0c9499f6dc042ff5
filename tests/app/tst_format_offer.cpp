// Moving files to the new format in QVS: the offer on opening a legacy file
// (once per file), the format choice of "Save as…", the offer when the
// legacy format cannot hold a text, and the message for a changed file.
#include "tests/app/file_commands_fixture.h"

#include "app/file_commands.h"
#include "dialogs/files/data_file_panel.h"
#include "store/format2/format2.h"
#include "store/legacy/legacy_file.h"

#include <QDir>
#include <QFile>

using qvs::App;
using qvs::frmFilePW;
using qvs::frmMessage;

namespace {

QString WriteLegacyFile(const QTemporaryDir& dir, const QString& name) {
    ardeko::clsPW store;
    store.NewFile();
    store.CatAdd("Banks");
    store.SetFilePW("pw");
    store.SetFormat(ardeko::FileFormat::Legacy);
    const QString path = dir.filePath(name);
    if (!store.SaveFile(path.toStdString(), false, false)) qFatal("cannot write a legacy file");
    return path;
}

std::string Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

void Ok(frmMessage* m) {
    Click(m, "cmdOK");
}

} // namespace

class TestFormatOffer : public QObject {
    Q_OBJECT
private slots:
    void init() {
        ResetProgram(main_);
        App().store->SetBackupFolder(dir_.filePath("backup").toStdString());
    }
    void cleanup() {
        QCOMPARE(qvs::ModalDepth(), 0);
        qvs::SetCurrentMainWindow(nullptr);
    }

    void aLegacyFileIsOfferedOnceAndKeptAsACopy() {
        const QString path = WriteLegacyFile(dir_, "old.QVS");
        ModalScript script;
        script.On<frmMessage>([](frmMessage* m) {
            QCOMPARE(MessageText(m), TestLanguage::Text(33000));
            AnswerYes(m);
        });
        script.On<frmMessage>([](frmMessage* m) { Ok(m); });
        script.Start();
        QVERIFY(qvs::OpenDataFile(path, "pw"));
        QVERIFY(script.Done());
        QVERIFY(ardeko::IsFormat2(Bytes(path)));
        QCOMPARE(App().store->Format(), ardeko::FileFormat::Two);
        const QStringList copies = QDir(dir_.filePath("backup")).entryList(QDir::Files);
        QCOMPARE(copies.size(), 1);
        ardeko::clsPW copy;
        QVERIFY(copy.LoadFile(dir_.filePath("backup/" + copies[0]).toStdString(), "pw"));
        QCOMPARE(copy.Format(), ardeko::FileFormat::Legacy);

        // Declined once, never asked again for that file.
        const QString other = WriteLegacyFile(dir_, "other.QVS");
        ModalScript no;
        no.On<frmMessage>([](frmMessage* m) { AnswerNo(m); });
        no.Start();
        QVERIFY(qvs::OpenDataFile(other, "pw"));
        QVERIFY(no.Done());
        QVERIFY(!ardeko::IsFormat2(Bytes(other)));
        ModalScript never;
        never.On<frmMessage>([](frmMessage* m) { AnswerYes(m); });
        never.Start();
        QVERIFY(qvs::OpenDataFile(other, "pw"));
        QVERIFY(!never.Done());
    }

    void saveAsLetsTheUserChooseTheFormat() {
        App().store->NewFile();
        App().store->CatAdd("Banks");
        for (const bool legacy : {true, false}) {
            const QString path = dir_.filePath(legacy ? "legacy.QVS" : "new.QVS");
            ModalScript script;
            script.On<QFileDialog>([&](QFileDialog* d) {
                // The list starts at the store's format: the first save
                // leaves it at the older one.
                d->selectNameFilter(legacy ? TestLanguage::Text(33002) + " (*.QVS)"
                                           : qvs::DataFileNameFilter());
                SaveAs(d, path);
            });
            script.Start();
            QVERIFY(qvs::SaveDataFile(true));
            QVERIFY(script.Done());
            QCOMPARE(ardeko::IsFormat2(Bytes(path)), !legacy);
        }
    }

    void aTextTheLegacyFormatCannotHoldOffersTheNewOne() {
        const QString path = WriteLegacyFile(dir_, "text.QVS");
        QVERIFY(App().store->LoadFile(path.toStdString(), "pw"));
        App().currentFileName = path;
        QVERIFY(App().store->CatAdd("Ключи"));
        ModalScript script;
        script.On<frmMessage>([](frmMessage* m) {
            // The store's reason in the user's language: the category, then the field's text.
            QVERIFY(MessageText(m).startsWith(TestLanguage::Text(35301) + ' ' +
                                              TestLanguage::Text(31100)));
            QVERIFY(MessageText(m).endsWith(TestLanguage::Text(33003)));
            AnswerYes(m);
        });
        script.Start();
        QVERIFY(qvs::SaveDataFile(false));
        QVERIFY(script.Done());
        QVERIFY(ardeko::IsFormat2(Bytes(path)));
    }

    // A format-2 store keeps the key, not the password: saving it in the
    // older format asks for the password, names the file, says when it is
    // wrong and asks again, and writes nothing until it is right.
    void saveAsLegacyAsksAgainAfterAWrongPassword() {
        const QString open = WriteDataFile(dir_, "keyed.QVS", "pw");
        QVERIFY(qvs::OpenDataFile(open, "pw"));
        const QString target = dir_.filePath("older.QVS");
        ModalScript script;
        script.On<QFileDialog>([&](QFileDialog* d) {
            d->selectNameFilter(TestLanguage::Text(33002) + " (*.QVS)");
            SaveAs(d, target);
        });
        const auto typed = [&](const char* password) {
            return [&open, password](frmFilePW* w) {
                QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblFile"))->toolTip(), open);
                TypePassword(w, QString::fromLatin1(password));
            };
        };
        script.On<frmFilePW>(typed("wrong"));
        script.On<frmMessage>([&](frmMessage* m) {
            QCOMPARE(MessageText(m), TestLanguage::Text(31414));
            QVERIFY(!QFile::exists(target));
            Ok(m);
        });
        script.On<frmFilePW>(typed("pw"));
        script.Start();
        QVERIFY(qvs::SaveDataFile(true));
        QVERIFY(script.Done());
        QVERIFY(QFile::exists(target));
        QVERIFY(!ardeko::IsFormat2(Bytes(target)));

        // Cancel ends it: no file, no message.
        const QString cancelled = dir_.filePath("cancelled.QVS");
        QVERIFY(qvs::OpenDataFile(open, "pw"));
        ModalScript cancel;
        cancel.On<QFileDialog>([&](QFileDialog* d) {
            d->selectNameFilter(TestLanguage::Text(33002) + " (*.QVS)");
            SaveAs(d, cancelled);
        });
        cancel.On<frmFilePW>([](frmFilePW* w) { Click(w, "cmdCancel"); });
        cancel.Start();
        QVERIFY(!qvs::SaveDataFile(true));
        QVERIFY(cancel.Done());
        QVERIFY(!QFile::exists(cancelled));
    }

    // A one-time code is no character: the question after the refusal does
    // not speak of characters.
    void aCodeTheLegacyFormatCannotHoldIsNamedAsSuch() {
        const QString path = WriteLegacyFile(dir_, "codes.QVS");
        QVERIFY(App().store->LoadFile(path.toStdString(), "pw"));
        App().currentFileName = path;
        ardeko::T_Password entry;
        entry.service = "Bank";
        entry.Totp = "JBSWY3DPEHPK3PXP";
        QVERIFY(App().store->PWAdd(entry));
        ModalScript script;
        script.On<frmMessage>([](frmMessage* m) {
            QCOMPARE(MessageText(m), TestLanguage::Text(35300) + ' ' + TestLanguage::Text(35306) +
                                         "\n\n" + TestLanguage::Text(36401));
            AnswerNo(m);
        });
        script.On<frmMessage>([](frmMessage* m) { Ok(m); }); // the save failed
        script.Start();
        QVERIFY(!qvs::SaveDataFile(false));
        QVERIFY(script.Done());
        QVERIFY(!ardeko::IsFormat2(Bytes(path)));
    }

    void aChangedFileIsNamedAsSuch() {
        const QString path = WriteDataFile(dir_, "changed.QVS", "pw");
        std::string bytes = Bytes(path);
        bytes[bytes.size() - 1] ^= 1;
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        f.close();
        ModalScript script;
        script.On<frmMessage>([](frmMessage* m) {
            ExpectError(m, TestLanguage::Text(33001));
            Ok(m);
        });
        script.Start();
        QVERIFY(!qvs::OpenDataFile(path, "pw"));
        QVERIFY(script.Done());
    }

private:
    std::unique_ptr<TestLanguage> language_{[] {
        auto* l = new TestLanguage({10,    11,    13,    14,    7000,  7001,  7002,  7003,  7004,
                                    7005,  8000,  8001,  8002,  8003,  8004,  8007,  8008,  8009,
                                    9001,  30002, 30003, 30004, 30005, 30006, 33000, 33001, 33002,
                                    33003, 33004, 31100, 35300, 35301, 35306, 31414, 36400, 36401});
        return l;
    }()};
    FakeMainWindow main_;
    QTemporaryDir dir_;
};

QTEST_MAIN(TestFormatOffer)
#include "tst_format_offer.moc"
