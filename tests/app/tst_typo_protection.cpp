// QVS and an old file another program wrote, which a typo may open with
// garbled texts: every open says so, and neither the offer of the new
// format nor a save writes the file until the password was given again and
// matched.
#include "tests/app/file_commands_fixture.h"
#include "tests/store/typo_search.h"

#include "app/file_commands.h"
#include "dialogs/files/frm_file_pw.h"
#include "store/format2/format2.h"
#include "store/legacy/legacy_file.h"
#include "store/legacy/trailer.h"

#include <QFile>

using qvs::App;
using qvs::frmFilePW;
using qvs::frmMessage;

namespace {

std::string Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

bool Write(const QString& path, const std::string& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           f.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size());
}

QString Qs(const std::string& s) {
    return QString::fromStdString(s);
}

// The message naming the open file, answered with OK.
void Expect(ModalScript& script, int id, const QString& path) {
    script.On<frmMessage>([id, path](frmMessage* m) {
        QCOMPARE(MessageText(m), TestLanguage::Text(id).replace("%s", path));
        Click(m, "cmdOK");
    });
}

} // namespace

class TestTypoProtection : public QObject {
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

    void aTypoNeitherConvertsNorSavesTheFile() {
        const auto found = typos::FindOpeningTypo();
        QVERIFY2(found, "no typo opened any of the files searched");
        const QString path = dir_.filePath("old.QVS");
        QVERIFY(Write(path, found->image));

        // Opened by the typo: warned, offered the new format, and the
        // right password the second time stops it.
        ModalScript open;
        Expect(open, 36200, path);
        open.On<frmMessage>([](frmMessage* m) { AnswerYes(m); }); // the offer
        Expect(open, 36201, path);
        open.On<frmFilePW>([&](frmFilePW* w) { TypePassword(w, Qs(found->password)); });
        open.On<frmMessage>([path](frmMessage* m) {
            ExpectError(m, TestLanguage::Text(36202).replace("%s", path));
            Click(m, "cmdOK");
        });
        open.Start();
        QVERIFY(qvs::OpenDataFile(path, Qs(found->typo)));
        QVERIFY(open.Done());
        QCOMPARE(Bytes(path), found->image);
        QCOMPARE(App().store->Format(), ardeko::FileFormat::Legacy);

        // Nor does a save, which would give it a trailer.
        App().store->CatAdd("New");
        ModalScript save;
        Expect(save, 36201, path);
        save.On<frmFilePW>([&](frmFilePW* w) { TypePassword(w, Qs(found->password)); });
        save.On<frmMessage>([](frmMessage* m) { Click(m, "cmdOK"); });
        save.Start();
        QVERIFY(!qvs::SaveDataFile(false));
        QVERIFY(save.Done());
        QCOMPARE(Bytes(path), found->image);

        // Opened again with the right password, still warned; given twice, saved.
        ModalScript right;
        Expect(right, 36200, path);
        right.Start();
        QVERIFY(qvs::OpenDataFile(path, Qs(found->password)));
        QVERIFY(right.Done());
        App().store->CatAdd("New");
        ModalScript twice;
        Expect(twice, 36201, path);
        twice.On<frmFilePW>([&](frmFilePW* w) { TypePassword(w, Qs(found->password)); });
        twice.Start();
        QVERIFY(qvs::SaveDataFile(false));
        QVERIFY(twice.Done());
        QVERIFY(ardeko::FindTrailer(Bytes(path)).has_value());
    }

private:
    std::unique_ptr<TestLanguage> language_{[] {
        auto* l = new TestLanguage({10,    11,    13,    14,    7000,  7001,  7002,  7003,
                                    7004,  7005,  8000,  8001,  8002,  8003,  8004,  8007,
                                    8008,  8009,  9001,  30002, 30003, 30004, 30005, 30006,
                                    33000, 33001, 33004, 31000, 36200, 36201, 36202, 36203});
        return l;
    }()};
    FakeMainWindow main_;
    QTemporaryDir dir_;
};

QTEST_MAIN(TestTypoProtection)
#include "tst_typo_protection.moc"
