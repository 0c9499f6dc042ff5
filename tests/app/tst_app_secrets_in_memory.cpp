// QVS's own copies of secrets: once it has opened a file and locked (also
// after a wrong password at the unlock), no copy of the file password is
// left in the process's memory, neither as the store keeps text (UTF-8)
// nor as a window does (UTF-16); locked, none of an entry's password, user
// name or notes either (the store is sealed), and they come back with the
// right password; once the file is closed, none of them. An entry editor
// left open over the lock, with an unsaved new password typed, holds none of
// the entry's texts while locked and shows the typed password again after.
#include "tests/app/file_commands_fixture.h"
#include "tests/store/memory_scan.h"

#include "app/file_commands.h"
#include "app/lock_controller.h"
#include "dialogs/entry/custom_fields_panel.h"
#include "dialogs/entry/frm_pw.h"
#include "dialogs/entry/history_panel.h"
#include "frame/wipe_text.h"
#include "store/crypto/secret_key.h"

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
const std::string kEarlierPassword = Masked("earlier-secret-2468013579-def");
const std::string kFieldValue = Masked("field-secret-1357924680-ghi");
constexpr char kEditedPlain[] = "edited-secret-1122334455-jkl";
const std::string kEditedPassword = Masked(kEditedPlain);
const std::string kEditedPasswordUtf16 = MaskedUtf16(kEditedPlain);

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

// The entry's texts an open editor holds, as text (UTF-8) and as its boxes
// hold them (UTF-16). Not the notes as the notes box holds them: Qt's text
// document frees its own buffer without overwriting it, and no public call
// reaches that buffer.
bool EditorSecretsInMemory() {
    if (EntrySecretsInMemory() || InMemory(kEarlierPassword) || InMemory(kFieldValue) ||
        InMemory(kEditedPassword) || InMemory(kEditedPasswordUtf16))
        return true;
    for (const char* plain :
         {"entry-secret-9876543210-abc", "entry-user-5550123-mno", "entry-note-7772468-qrs"})
        if (InMemory(MaskedUtf16(plain))) return true;
    return false;
}

void WriteSecretFile(const QString& path) {
    ardeko::clsPW store;
    store.NewFile();
    ardeko::T_Password entry;
    entry.service = "Bank";
    entry.History.push_back({Unmasked(kEarlierPassword), 46000.5});
    entry.Fields.push_back({"PIN", Unmasked(kFieldValue), true});
    for (auto [field, masked] :
         {std::pair{&entry.pw, &kEntryPassword}, std::pair{&entry.User, &kEntryUser},
          std::pair{&entry.Remember, &kEntryNote}, std::pair{&entry.Descr, &kEntryDescription}}) {
        std::string secret = Unmasked(*masked);
        field->swap(secret);
    }
    store.InsertPassword(entry);
    for (std::string* field : {&entry.pw, &entry.User, &entry.Remember, &entry.Descr,
                               &entry.History[0].pw, &entry.Fields[0].value})
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

    void lockedEditorHoldsNoCopies() {
        ResetProgram(main_);
        const QString path = dir_.filePath(QStringLiteral("e.QVS"));
        WriteSecretFile(path);
        QString typed = Typed(kFilePassword);
        QVERIFY(OpenDataFile(path, typed));
        WipeText(typed);
        QPointer<frmPW> editor = PasswordEdit(QStringLiteral("Bank"));
        QVERIFY(editor);
        auto* password = editor->findChild<QLineEdit*>(QStringLiteral("txtPw"));
        password->selectAll();
        typed = Typed(kEditedPassword);
        QTest::keyClicks(password, typed);
        WipeText(typed);
        QVERIFY(editor->HasChanges());

        LockController lock;
        QVERIFY(lock.Lock());
        QVERIFY(!EditorSecretsInMemory());
        QVERIFY(!lock.Unlock(QStringLiteral("not the password")));
        QVERIFY(!EditorSecretsInMemory());

        typed = Typed(kFilePassword);
        QVERIFY(lock.Unlock(typed));
        WipeText(typed);
        // The typed password is shown again, and the entry's earlier
        // passwords and extra fields are back in their panels.
        typed = Typed(kEditedPassword);
        QVERIFY(password->text() == typed);
        WipeText(typed);
        QVERIFY(editor->HasChanges());
        QCOMPARE(editor->findChild<HistoryPanel*>()->History().size(), std::size_t{1});
        const auto fields = editor->findChild<CustomFieldsPanel*>()->Fields();
        QCOMPARE(fields.size(), std::size_t{1});
        QVERIFY(fields[0].protect && fields[0].name == "PIN");
        QVERIFY(InMemory(kFieldValue) && InMemory(kEarlierPassword));
        delete editor;
    }

private:
    std::unique_ptr<TestLanguage> language_{MakeFileCommandLanguage()};
    FakeMainWindow main_;
    QTemporaryDir dir_;
};

QTEST_MAIN(TestAppSecretsInMemory)
#include "tst_app_secrets_in_memory.moc"
