// Which of the two programs is running. Their settings, instance names,
// captions and start-with-the-system entries differ only by this.
#pragma once

#include <QString>

namespace qvs {

enum class ProgramKind { QVS, QVSLite };

// Set once at the very start of main(), before any setting is read.
void SetProgramKind(ProgramKind kind);
ProgramKind CurrentProgram();

// "QVS" or "QVSLite": settings application name, message caption and the
// name of the start-with-the-system entry.
QString ProgramName();

} // namespace qvs
