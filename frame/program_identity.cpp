#include "frame/program_identity.h"

namespace qvs {

namespace {
ProgramKind g_kind = ProgramKind::QVS;
}

void SetProgramKind(ProgramKind kind) {
    g_kind = kind;
}

ProgramKind CurrentProgram() {
    return g_kind;
}

QString ProgramName() {
    return g_kind == ProgramKind::QVSLite ? QStringLiteral("QVSLite") : QStringLiteral("QVS");
}

} // namespace qvs
