#include "app/file_commands.h"

#include "app/disk_guard.h"
#include "app/expiry_check.h"
#include "app/file_events.h"
#include "app/file_password.h"
#include "app/file_path.h"
#include "app/format_offer.h"
#include "app/password_confirm.h"
#include "app/save_file_dialog.h"
#include "app/slow_key_open.h"
#include "app/text_ids.h"
#include "autotype/key_pair.h"
#include "dialogs/files/choose_data_file.h"
#include "dialogs/files/frm_file_pw.h"
#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/main_window_iface.h"
#include "frame/message_box.h"
#include "frame/options.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "frame/store_reason.h"
#include "frame/wipe_text.h"
#include "store/io/file_info.h"
#include "store/io/file_io.h"
#include "store/legacy/legacy_file.h"

#include <QFileInfo>

#include <optional>

namespace qvs {

namespace {

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

int Tell(const QString& text, int style) {
    return ShowMessage(text, style, ProgramName());
}

// Whether path is a data file of a known version: its 50001 error is then
// about the password, not the version.
bool KnownDataFile(const QString& path) {
    ardeko::DataFileInfo info;
    return !ardeko::ReadDataFileInfo(path.toStdString(), info);
}

// Why the store failed; path: the file the failure is about, for the texts
// that name it.
QString StoreErrorText(const QString& path = QString()) {
    const ardeko::clsPW& store = Store();
    if (store.ErrNum() == ardeko::StoreError::ChangedFile && !path.isEmpty())
        return LocalTextWith(text::kChangedOrDamaged, path);
    if (store.ErrNum() == ardeko::StoreError::BadFile && !path.isEmpty() && KnownDataFile(path))
        return GetLocalText(text::kWrongPasswordOrDamaged)
            .arg(path, FromStd(store.BackupPathFor(path.toStdString(), false)),
                 FromStd(store.BackupFolder()));
    return StoreReason(store);
}

void TellStoreError(int style, const QString& path = QString()) {
    Tell(StoreErrorText(path), style);
}

// What the user should know of a file that loaded: records lost on the
// way, or bytes appended after its end; "" when nothing.
QString LoadWarning(const QString& path) {
    const ardeko::clsPW& store = Store();
    if (store.ErrNum() == ardeko::StoreError::DamagedFile) return StoreReason(store);
    if (store.ErrNum() == ardeko::StoreError::AppendedBytes)
        return LocalTextWith(text::kAppendedBytes, path);
    return QString();
}

void RefreshView() {
    if (IMainWindow* window = CurrentMainWindow()) window->UpdateView(QString());
}

// The store holds its file as it is on disk now (or no file): QVS follows it.
void FollowFile() {
    if (DiskGuard* guard = DiskGuard::Current()) guard->Follow();
}

// The password to open path with: none when the file has none, else given,
// else asked for (asked is then set). Nothing when the user gave none.
std::optional<QString> PasswordFor(const QString& path, const QString& given,
                                   bool* asked = nullptr) {
    if (asked) *asked = false;
    if (Store().TestForPW(path.toStdString())) return QString();
    if (!given.isEmpty()) return given;
    if (asked) *asked = true;
    frmFilePW dialog;
    const QString typed = dialog.controlla(path);
    if (typed.isEmpty()) return std::nullopt;
    return typed;
}

// After a password the user typed did not open path: the reason, and
// whether to type it again.
bool AskRetry(const QString& path) {
    if (Store().ErrNum() != ardeko::StoreError::BadFile) return false;
    return Tell(StoreErrorText(path) + QStringLiteral("\n\n") +
                    GetLocalText(text::kRetryPasswordQuestion),
                vbRetryCancel | vbExclamation) == vbRetry;
}

// Loads path with password. A file whose key settings are beyond what opens
// without asking loads once the user agreed to wait (declined tells when
// not).
bool LoadWith(const QString& path, const QString& password, bool& declined) {
    ardeko::clsPW& store = Store();
    declined = false;
    if (store.LoadFile(path.toStdString(), Utf8Secret(password), DefaultKeyVal())) return true;
    if (store.ErrNum() != ardeko::StoreError::SlowKdf) return false;
    declined = !PrepareSlowKey(path, password);
    return !declined && store.LoadFile(path.toStdString(), Utf8Secret(password), DefaultKeyVal());
}

// What the program holds once path is loaded.
void TakeOpenedFile(const QString& path, QString& password) {
    ProgramState& app = App();
    app.currentFileName = FromStd(Store().Filename());
    app.loadTime = QFileInfo(path).lastModified();
    HoldFilePassword(password);
    Opt().Recent.Add(path, Opt().HistorySize);
    FollowFile();
}

void ShowOpenedFile() {
    if (Opt().AutoCheck) RunExpiryCheck();
    if (IMainWindow* window = CurrentMainWindow()) {
        window->UpdateView(QString());
        if (!App().inTrayMode) window->ReloadMenu(); // the tray has no recent-files menu
    }
}

} // namespace

bool IsNewFileMarker(const QString& name) {
    return name == GetLocalText(text::kNewFileMarker) ||
           name == QLatin1String(ardeko::kNewFileName);
}

bool FileAccessible(const QString& path) {
    // Never creates the file; only a regular file counts, checked without
    // blocking: a plain open of a FIFO would wait for a writer for ever.
    return !path.isEmpty() && ardeko::CanOpenForReading(path.toStdString());
}

bool OpenDataFile(const QString& given, const QString& password) {
    App().loadTime = QDateTime::currentDateTime();
    // The store, the settings and the recent list keep the name: one that
    // holds in any folder.
    const QString path = CleanFilePath(given);
    if (path.isEmpty()) return false;
    if (!FileAccessible(path)) {
        Tell(LocalTextWith(text::kCannotOpenFile, path), vbCritical);
        return false;
    }
    ardeko::clsPW& store = Store();
    const std::string before = store.Filename();
    std::optional<QString> used;
    for (;;) {
        bool asked = false;
        used = PasswordFor(path, password, &asked);
        if (!used) return false;
        bool declined = false;
        if (LoadWith(path, *used, declined)) break;
        WipeText(*used);
        if (declined) return false;
        // A file that vanished since the check leaves the store emptied.
        if (store.Filename() != before) {
            TellFileEvent(FileEvent::Closed);
            RefreshView();
        }
        // A mistyped password is typed again, not chosen again from the list.
        if (asked && AskRetry(path)) continue;
        if (!asked || store.ErrNum() != ardeko::StoreError::BadFile)
            TellStoreError(vbCritical, path);
        return false;
    }
    // Loaded, but records were lost on the way: the user should know.
    const QString damage = LoadWarning(path);
    const bool weakKey = store.ErrNum() == ardeko::StoreError::WeakKdf;

    TakeOpenedFile(path, *used);
    if (!before.empty()) TellFileEvent(FileEvent::Closed);
    TellFileEvent(FileEvent::Opened);
    ShowOpenedFile();
    WarnUncheckedPassword(path);
    // A damaged file is not the moment to rewrite it in another format.
    if (!damage.isEmpty())
        Tell(damage, vbExclamation);
    else if (weakKey)
        OfferStrongerKey(path);
    else
        OfferNewFormat(path);
    return true;
}

bool SaveChangesPrompt(const QString& question, bool autoSave) {
    if (!Store().NotSaved()) return true;
    if (autoSave && SaveDataFile(false)) return true;
    // "Yes" promises that the changes are kept: a save that failed or was
    // cancelled asks again, so only "No" lets them go.
    for (;;) {
        switch (Tell(question, vbYesNoCancel | vbQuestion)) {
        case vbYes:
            if (SaveDataFile(false)) return true;
            break;
        case vbNo:
            return true;
        default:
            return false;
        }
    }
}

bool SaveDataFile(bool saveAs) {
    const QString current = FromStd(Store().Filename());
    QString target; // "" writes to the store's own file
    if (saveAs || current.isEmpty() || IsNewFileMarker(current)) {
        ardeko::FileFormat format = Store().Format();
        target = CleanFilePath(AskSaveFileName(saveAs ? &format : nullptr));
        if (target.isEmpty() || !UseSaveFormat(format)) return false;
    }
    // A version written on disk since it was read is not overwritten unasked.
    if (DiskGuard* guard = DiskGuard::Current(); guard && !guard->MaySave(target)) return false;
    // Saving gives a file that cannot tell a wrong password a trailer.
    if (!ConfirmUncheckedPassword()) return false;
    OfferFilePassword(target.isEmpty() ? current : target);
    // Taken only now: the store is not held across a dialog.
    ardeko::clsPW& store = Store();
    bool saved = store.SaveFile(target.toStdString(), Opt().BackupFile, Opt().BackupHistory);
    if (!saved && OfferNewFormatForText())
        saved = store.SaveFile(target.toStdString(), Opt().BackupFile, Opt().BackupHistory);
    if (saved) {
        App().currentFileName = FromStd(store.Filename());
        FollowFile();
    } else {
        TellStoreError(vbCritical);
    }
    RefreshView();
    return saved;
}

void NewDataFile() {
    if (!SaveChangesPrompt(GetLocalText(text::kSaveChangesQuestion), false)) return;
    ProgramState& app = App();
    app.store = std::make_unique<ardeko::clsPW>();
    app.store->NewFile();
    app.currentFileName = FromStd(app.store->Filename());
    app.currentFilePassword.Clear();
    FollowFile();
    TellFileEvent(FileEvent::Closed);
    TellFileEvent(FileEvent::Opened);
    RefreshView();
}

void OpenWithDialog(bool showNew) {
    if (!SaveChangesPrompt(GetLocalText(text::kSaveChangesQuestion), false)) return;
    // The open file stays the current one until another has been loaded.
    const QString chosen = ChooseDataFile(showNew);
    if (IsNewFileMarker(chosen))
        NewDataFile(); // asks again if "No" kept the changes in memory
    else if (!chosen.isEmpty())
        OpenDataFile(chosen, QString());
}

bool ImportDataFile() {
    if (Store().Filename().empty()) return false;
    const QString chosen = ChooseDataFile(false);
    if (chosen.isEmpty() || IsNewFileMarker(chosen)) return false;
    const QString path = CleanFilePath(chosen);
    std::optional<QString> password = PasswordFor(path, QString());
    if (!password) return false;
    const bool imported = Store().ImportFile(path.toStdString(), Utf8Secret(*password));
    WipeText(*password);
    if (imported)
        Tell(GetLocalText(text::kImportDone), vbOKOnly);
    else
        TellStoreError(vbOKOnly);
    RefreshView();
    return imported;
}

void OpenRecentFile(const QString& path) {
    const QString question =
        LocalTextWith(text::kSaveBeforeOpenQuestion, FromStd(Store().Filename()));
    if (!SaveChangesPrompt(question, false)) return;
    OpenDataFile(path, QString());
}

} // namespace qvs
