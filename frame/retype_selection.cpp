#include "frame/retype_selection.h"

#include <QEvent>
#include <QLineEdit>

namespace qvs {

namespace {

const QString kName = QStringLiteral("retypeSelection");

class RetypeSelection : public QObject {
public:
    explicit RetypeSelection(QLineEdit* box) : QObject(box), box_(box) {
        setObjectName(kName);
        connect(box, &QLineEdit::textEdited, this, &QObject::deleteLater);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) box_->selectAll();
        return false;
    }

private:
    QLineEdit* box_;
};

} // namespace

void SelectForRetyping(QLineEdit* box) {
    if (!box->findChild<QObject*>(kName, Qt::FindDirectChildrenOnly))
        box->installEventFilter(new RetypeSelection(box));
    box->setFocus();
    box->selectAll();
}

} // namespace qvs
