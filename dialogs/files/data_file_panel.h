// The file-open panel for data files, built from Qt's own (non-native) file
// dialog so that it can live inside another window, and the way a recent
// file's path is shown as file name and folder.
#pragma once

#include <QString>

class QFileDialog;
class QWidget;

namespace qvs {

// The one filter of data-file choosers: ".QVS" in any letter case.
QString DataFileNameFilter();
inline constexpr char kDataFileSuffix[] = "QVS";

// A file-open panel embedded in parent: data files only, default suffix
// "QVS", opened in startFolder (the default data folder when that is empty
// or gone). Confirming emits fileSelected; its Cancel emits rejected.
QFileDialog* CreateDataFilePanel(QWidget* parent, const QString& startFolder);

// Where the file choosers start: the open file's folder, where its other
// versions and copies are; without one, the last used folder setting.
QString DataFileStartFolder();

// A path cut at its last "/": the folder before it ("/" for a file in the
// root, "" for a bare name) and the file name after it.
struct FolderAndName {
    QString folder;
    QString name;
};
FolderAndName SplitFolderAndName(const QString& path);

// The reverse: a folder already ending in "/" gets no second one, and an
// empty folder adds nothing to the name.
QString JoinFolderAndName(const QString& folder, const QString& name);

} // namespace qvs
