#include "frame/program_state.h"

#include "frame/program_identity.h"
#include "frame/wipe_text.h"

namespace qvs {

ProgramState& App() {
    static ProgramState state;
    return state;
}

void HoldFilePassword(QString& password) {
    ProgramState& app = App();
    if (CurrentProgram() == ProgramKind::QVSLite)
        app.currentFilePassword.Assign(Utf8Secret(password));
    else
        app.currentFilePassword.Clear();
    WipeText(password);
}

} // namespace qvs
