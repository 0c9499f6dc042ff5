#include "dialogs/files/data_file_panel.h"

#include "frame/options.h"
#include "frame/program_state.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace qvs {

QString DataFileNameFilter() {
    // The panel's model matches names regardless of case (see below), so one
    // pattern finds foo.QVS, bar.qvs and baz.Qvs alike.
    return QStringLiteral("Quorvane (*.QVS)");
}

QFileDialog* CreateDataFilePanel(QWidget* parent, const QString& startFolder) {
    auto* panel = new QFileDialog(parent);
    panel->setObjectName(QStringLiteral("cD"));
    // Only Qt's own dialog can be hosted as a widget; this must come first.
    panel->setOption(QFileDialog::DontUseNativeDialog);
    panel->setWindowFlags(Qt::Widget);
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    panel->setFileMode(QFileDialog::ExistingFile);
    panel->setNameFilter(DataFileNameFilter());
    panel->setFilter(panel->filter() & ~QDir::CaseSensitive);
    panel->setDefaultSuffix(QString::fromLatin1(kDataFileSuffix));
    const bool usable = !startFolder.isEmpty() && QFileInfo(startFolder).isDir();
    panel->setDirectory(usable ? startFolder : DefaultDataFolder());
    return panel;
}

QString DataFileStartFolder() {
    const ProgramState& app = App();
    // A never-saved file's name is a marker, not a path.
    const QFileInfo open(app.store ? QString::fromStdString(app.store->Filename()) : QString());
    if (open.isAbsolute() && open.absoluteDir().exists()) return open.absolutePath();
    return Opt().Path;
}

FolderAndName SplitFolderAndName(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0) return {QString(), path};
    return {slash == 0 ? QStringLiteral("/") : path.left(slash), path.mid(slash + 1)};
}

QString JoinFolderAndName(const QString& folder, const QString& name) {
    if (folder.isEmpty() || folder.endsWith(u'/')) return folder + name;
    return folder + u'/' + name;
}

} // namespace qvs
