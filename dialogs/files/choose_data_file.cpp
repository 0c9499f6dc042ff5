#include "dialogs/files/choose_data_file.h"

#include "dialogs/files/data_file_panel.h"
#include "dialogs/files/frm_load_save.h"
#include "dialogs/text_ids.h"
#include "frame/image_list.h"
#include "frame/language.h"
#include "frame/options.h"

#include <QFileInfo>

namespace qvs {

namespace {

const QString kIconKey = QStringLiteral("QVS");

void AddRecentFiles(frmLoadSave& window) {
    for (const QString& path : Opt().Recent.Paths()) {
        const FolderAndName parts = SplitFolderAndName(path);
        // A file that is gone has no time; it is listed all the same.
        window.AddExistItem(parts.name, parts.folder, QFileInfo(path).lastModified(), kIconKey);
    }
}

} // namespace

QString ChooseDataFile(bool showNew) {
    frmLoadSave window;
    window.SetShowNew(showNew);
    if (window.ShowNew()) {
        window.AddNewType(GetLocalText(text::kDataFileKind), kIconKey);
        window.SetNewImageList(ImageList(ImageList::Large, {kIconKey}));
    }
    window.SetExistingImageList(ImageList(ImageList::Small, {kIconKey}));
    AddRecentFiles(window);
    window.SetStartFolder(DataFileStartFolder());
    window.ShowModal();
    if (window.Cancelled()) return QString();
    if (window.IsNew()) return GetLocalText(text::kNewFileMarker);
    return window.Filename();
}

} // namespace qvs
