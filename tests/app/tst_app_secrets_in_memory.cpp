// QVS's own copies of secrets: once it has opened a file and locked (also
// after a wrong password at the unlock), no copy of the file password is
// left in the process's memory, neither as the store keeps text (UTF-8)
// nor as a window does (UTF-16); locked, none of an entry's password, user
// name or notes either (the store is sealed), and they come back with the
// right password; once the file is closed, none of them.
#include "tests/app/file_commands_fixture.h"
#include "tests/store/memory_scan.h"

#include "app/file_commands.h"
#include "app/lock_controller.h"
#include "frame/wipe_text.h"
#include "store/secret_key.h"

using namespace qvs;
using namespace memscan;

namespace {

constexpr char kFilePlain[] = "file-password-0123456789-xyz";
const std::string kFilePassword = Masked(kFilePlain);
const std::string kFilePasswordUtf16 = MaskedUtf16(kFilePlain);
const std::string kEntryPassword = Masked("entry-secret-9876543210-abc");
const std::string kEntryUser = Masked("entry-user-5550123-mno");
const std::string kEntryNote = Masked("entry-note-7772468-qrs");
const std::string kEntryDescription = Masked("entry-descr-3331357-tuv");

bool EntrySecretsInMemory() {
    return InMemory(kEntryPassword) || InMemory(kEntryUser) || InMemory(kEntryNote) ||
           InMemory(kEntryDescription);
}

// The password as a dialog hands it over; the caller wipes it.
QString Typed(const std::string& masked) {
    std::string plain = Unmasked(masked);
    QString typed = QString::fromStdString(plain);
    ardeko::WipeString(plain);
    return typed;
}

bool FilePasswordInMemory() {
    return InMemory(kFilePassword) || InMemory(kFilePasswordUtf16);
}

void WriteSecretFile(const QString& path) {
    ardeko::clsPW store;
    store.NewFile();
    ardeko::T_Password entry;
    entry.service = "Bank";
    for (auto [field, masked] :
         {std::pair{&entry.pw, &kEntryPassword}, std::pair{&entry.User, &kEntryUser},
          std::pair{&entry.Remember, &kEntryNote}, std::pair{&entry.Descr, &kEntryDescription}}) {
        std::string secret = Unmasked(*masked);
        field->swap(secret);
    }
    store.InsertPassword(entry);
    for (std::string* field : {&entry.pw, &entry.User, &entry.Remember, &entry.Descr})
        ardeko::WipeString(*field);
    std::string password = Unmasked(kFilePassword);
    store.SetFilePW(password);
    ardeko::WipeString(password);
    if (!store.SaveFile(path.toStdString(), false)) qFatal("cannot write the test file");
}

} // namespace

class TestAppSecretsInMemory : public QObject {
    Q_OBJECT
private slots:
    void lockedAndClosedLeaveNoCopies() {
        ResetProgram(main_);
        const QString path = dir_.filePath(QStringLiteral("m.QVS"));
        WriteSecretFile(path);
        QVERIFY(!FilePasswordInMemory());

        QString typed = Typed(kFilePassword);
        QVERIFY(OpenDataFile(path, typed));
        WipeText(typed);
        ardeko::T_Password unsaved;
        unsaved.service = "Unsaved";
        QVERIFY(Store().InsertPassword(unsaved));
        LockController lock;
        QVERIFY(lock.Lock());
        QVERIFY(!FilePasswordInMemory());
        QVERIFY(!EntrySecretsInMemory());
        QVERIFY(!lock.Unlock(QStringLiteral("not the password")));
        QVERIFY(!FilePasswordInMemory());
        QVERIFY(!EntrySecretsInMemory());

        typed = Typed(kFilePassword);
        QVERIFY(lock.Unlock(typed));
        WipeText(typed);
        QVERIFY(!FilePasswordInMemory());

        // The open file's, back in the store, unsaved change included.
        QVERIFY(InMemory(kEntryPassword) && InMemory(kEntryUser) && InMemory(kEntryNote));
        QVERIFY(Store().Password().Contains("Unsaved"));
        NewDataFile();
        QVERIFY(!EntrySecretsInMemory());
        QVERIFY(!FilePasswordInMemory());
    }

private:
    std::unique_ptr<TestLanguage> language_{MakeFileCommandLanguage()};
    FakeMainWindow main_;
    QTemporaryDir dir_;
};

QTEST_MAIN(TestAppSecretsInMemory)
#include "tst_app_secrets_in_memory.moc"
