// The About box: the program's title and version, what it is, and links to
// the maker's pages.
#pragma once

#include "frame/modal_stack.h"

#include <QDialog>

namespace qvs {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    // versionText as start-up built it, e.g. "QVS V1.2.3".
    explicit frmAbout(const QString& versionText, QWidget* parent = DialogOwner());
};

// Shows the About box through the modal stack until it is closed.
void ShowAbout(const QString& versionText);

} // namespace qvs
