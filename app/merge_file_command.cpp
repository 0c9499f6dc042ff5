#include "app/merge_file_command.h"

#include "app/disk_guard.h"
#include "app/file_commands.h"
#include "app/file_path.h"
#include "app/merge_summary.h"
#include "app/text_ids.h"
#include "autotype/key_pair.h"
#include "dialogs/files/choose_data_file.h"
#include "dialogs/files/frm_file_pw.h"
#include "frame/language.h"
#include "frame/main_window_iface.h"
#include "frame/message_box.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "frame/store_reason.h"
#include "frame/wipe_text.h"
#include "store/legacy/legacy_file.h"

#include <QFileInfo>

namespace qvs {

// Another version usually has the open file's password: that is tried
// first, and another is asked for only when it is wrong.
bool LoadOtherVersion(const QString& path, ardeko::clsPW& other) {
    const std::string name = path.toStdString();
    const bool needsNone = other.TestForPW(name);
    const bool loaded = needsNone ? other.LoadFile(name, {}, DefaultKeyVal())
                                  : other.LoadFileAs(name, Store(), DefaultKeyVal());
    if (loaded) return true;
    if (!needsNone && other.ErrNum() == ardeko::StoreError::BadFile) {
        frmFilePW dialog;
        QString typed = dialog.controlla(path);
        if (typed.isEmpty()) return false;
        const bool opened = other.LoadFile(name, Utf8Secret(typed), DefaultKeyVal());
        WipeText(typed);
        if (opened) return true;
    }
    ShowMessage(StoreReason(other), vbCritical, ProgramName());
    return false;
}

bool MergeIntoStore(const ardeko::clsPW* base, const ardeko::clsPW& theirs, const QString& from) {
    ardeko::MergeSummary summary;
    bool merged = false;
    auto merge = [&] { merged = Store().Merge(base, theirs, summary); };
    if (IMainWindow* window = CurrentMainWindow())
        window->KeepPlaceAcross(merge);
    else
        merge();
    if (!merged) {
        ShowMessage(LocalTextWith(text::kMergeFailed, QString::fromStdString(Store().ErrDescr())),
                    vbCritical, ProgramName());
        return false;
    }
    ShowMessage(MergeSummaryText(summary, from), vbInformation, ProgramName());
    return true;
}

const ardeko::clsPW* BaseForOther(const ardeko::clsPW* base, const ardeko::clsPW& other) {
    const bool identified = base && base->AllEntriesIdentified() &&
                            Store().AllEntriesIdentified() && other.AllEntriesIdentified();
    return identified ? base : nullptr;
}

bool MergeOtherFile() {
    if (Store().Filename().empty()) return false;
    const QString chosen = ChooseDataFile(false);
    if (chosen.isEmpty() || IsNewFileMarker(chosen)) return false;
    const QString path = CleanFilePath(chosen);
    ardeko::clsPW other;
    if (!LoadOtherVersion(path, other)) return false;
    const DiskGuard* guard = DiskGuard::Current();
    return MergeIntoStore(BaseForOther(guard ? guard->ConflictBase() : nullptr, other), other,
                          QFileInfo(path).fileName());
}

} // namespace qvs
