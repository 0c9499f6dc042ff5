#include "frame/program_state.h"

namespace qvs {

ProgramState& App() {
    static ProgramState state;
    return state;
}

} // namespace qvs
