// What the connected browsers hear as the program's file comes and goes:
// a file opened, another one taking its place, a new one made, a lock and
// an unlock, QVS ending; and nothing when the file stays what it was.
#include "tests/app/file_commands_fixture.h"

#include "app/file_commands.h"
#include "app/lock_controller.h"
#include "browser/browser_filling.h"
#include "browser/browser_requests.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace qvs;

namespace {

// Every browser at once, as the socket server reaches them: the actions heard.
class Heard : public browser::Broadcast {
public:
    void ToAll(const QByteArray& json) override {
        actions
            << QJsonDocument::fromJson(json).object().value(QStringLiteral("action")).toString();
    }
    // What was heard since the last look.
    QStringList Take() { return std::exchange(actions, {}); }
    QStringList actions;
};

const QString kLocked = QStringLiteral("database-locked");
const QString kUnlocked = QStringLiteral("database-unlocked");

} // namespace

class TestBrowserFileSignals : public QObject {
    Q_OBJECT
private slots:
    void init() {
        ResetProgram(main_);
        browser::ConnectBrowserSocket(&heard_);
        heard_.Take();
    }
    void cleanup() {
        if (Locking().IsLocked()) QVERIFY(Locking().Unlock(QStringLiteral("s3cret")));
        browser::ConnectBrowserSocket(nullptr);
        QCOMPARE(ModalDepth(), 0);
        SetCurrentMainWindow(nullptr);
    }

    // The first file is only "unlocked"; each file after it is "locked",
    // then "unlocked", so the extension drops the old file's logins; a file
    // that did not open leaves the browsers with the one they had.
    void openingAndReplacingFiles() {
        const QString first = WriteDataFile(dir_, QStringLiteral("first.QVS"), "s3cret");
        const QString second = WriteDataFile(dir_, QStringLiteral("second.QVS"), "");
        QVERIFY(OpenDataFile(first, QStringLiteral("s3cret")));
        QCOMPARE(heard_.Take(), QStringList{kUnlocked});
        QVERIFY(OpenDataFile(second, QString()));
        QCOMPARE(heard_.Take(), (QStringList{kLocked, kUnlocked}));

        ModalScript wrong;
        wrong.On<frmMessage>([](frmMessage* m) { Click(m, "cmdOK"); });
        wrong.Start();
        QVERIFY(!OpenDataFile(first, QStringLiteral("wrong")));
        QVERIFY(wrong.Done());
        QCOMPARE(heard_.Take(), QStringList());

        NewDataFile();
        QCOMPARE(heard_.Take(), (QStringList{kLocked, kUnlocked}));
    }

    // A lock and an unlock are told once each; QVS ending with the file
    // open is a close, and with the file locked, nothing more.
    void lockingAndEnding() {
        const QString path = WriteDataFile(dir_, QStringLiteral("locks.QVS"), "s3cret");
        QVERIFY(OpenDataFile(path, QStringLiteral("s3cret")));
        heard_.Take();
        QVERIFY(Locking().Lock());
        QVERIFY(Locking().Lock());
        QCOMPARE(heard_.Take(), QStringList{kLocked});
        QVERIFY(Locking().Unlock(QStringLiteral("s3cret")));
        QCOMPARE(heard_.Take(), QStringList{kUnlocked});

        browser::ConnectBrowserSocket(nullptr);
        QCOMPARE(heard_.Take(), QStringList{kLocked});
        browser::ConnectBrowserSocket(&heard_);
        QVERIFY(Locking().Lock());
        browser::ConnectBrowserSocket(nullptr);
        browser::ConnectBrowserSocket(&heard_);
        QCOMPARE(heard_.Take(), QStringList{kLocked});
    }

private:
    std::unique_ptr<TestLanguage> language_{MakeFileCommandLanguage()};
    FakeMainWindow main_;
    QTemporaryDir dir_;
    Heard heard_;
};

QTEST_MAIN(TestBrowserFileSignals)
#include "tst_browser_file_signals.moc"
