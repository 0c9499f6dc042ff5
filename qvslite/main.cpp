// QVSLite, the light tray program.
#include "app/program_start.h"
#include "frame/program_identity.h"
#include "qvslite/lite_program.h"
#include "store/io/process_guard.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    ardeko::KeepSecretsOutOfDumps();
    qvs::SetProgramKind(qvs::ProgramKind::QVSLite);
    QApplication app(argc, argv);
    qvs::SetApplicationIdentity(app, QStringLiteral(QVS_VERSION));
    return qvs::RunLiteProgram();
}
