#include "app/save_file_dialog.h"

#include "app/text_ids.h"
#include "dialogs/files/data_file_panel.h"
#include "frame/language.h"
#include "frame/modal_stack.h"
#include "frame/options.h"

#include <QFileDialog>
#include <QFileInfo>

namespace qvs {

namespace {

QString StartFolder() {
    const QString path = DataFileStartFolder();
    return !path.isEmpty() && QFileInfo(path).isDir() ? path : DefaultDataFolder();
}
} // namespace

QString LegacyFormatFilter() {
    return GetLocalText(text::kLegacyFormatFilter) + QStringLiteral(" (*.QVS)");
}

QString AskSaveFileName(ardeko::FileFormat* format) {
    QFileDialog dialog(DialogOwner(), GetLocalText(text::kSaveAsTitle), StartFolder());
    dialog.setObjectName(QString::fromLatin1(kSaveFileDialogName));
    // Qt's own dialog: the same on every desktop, and reachable by tests.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (format) {
        dialog.setNameFilters({DataFileNameFilter(), LegacyFormatFilter()});
        if (*format == ardeko::FileFormat::Legacy) dialog.selectNameFilter(LegacyFormatFilter());
    } else {
        dialog.setNameFilter(DataFileNameFilter());
    }
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive); // .QVS, .qvs, .Qvs alike
    dialog.setDefaultSuffix(QString::fromLatin1(kDataFileSuffix));
    if (ExecModal(dialog) != QDialog::Accepted) return {};
    if (format)
        *format = dialog.selectedNameFilter() == LegacyFormatFilter() ? ardeko::FileFormat::Legacy
                                                                      : ardeko::FileFormat::Two;
    return dialog.selectedFiles().value(0);
}

} // namespace qvs
