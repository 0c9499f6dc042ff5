#include "frame/message_box.h"

#include "frame/frm_message.h"
#include "frame/modal_stack.h"
#include "frame/program_identity.h"

#include <QCoreApplication>

namespace qvs {

namespace {

QString ProgramCaption() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? ProgramName() : name;
}

} // namespace

int ShowMessage(const QString& text, int style, const QString& caption) {
    frmMessage form(DialogOwner());
    form.SetButton(style, caption.isEmpty() ? ProgramCaption() : caption, text);
    ExecModal(form);
    return form.GetButton();
}

} // namespace qvs
