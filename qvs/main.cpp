// QVS, the full program.
#include "app/program_start.h"
#include "frame/program_identity.h"
#include "qvs/startup.h"
#include "store/io/process_guard.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    ardeko::KeepSecretsOutOfDumps();
    qvs::SetProgramKind(qvs::ProgramKind::QVS);
    QApplication app(argc, argv);
    qvs::SetApplicationIdentity(app, QStringLiteral(QVS_VERSION));
    return qvs::RunProgram();
}
