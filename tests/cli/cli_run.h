// Runs the built qvs-cli with arguments and standard input, as a script would.
#pragma once

#include "tests/test_program.h"

#include <QByteArray>
#include <QProcess>
#include <QStringList>

struct Run {
    int exitCode = -1; // -1: did not end normally within a minute
    QByteArray out, err;
};

inline Run RunCli(const QStringList& args, const QByteArray& input,
                  const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(TestProgram("QVS_CLI_PATH"), args);
    p.write(input);
    p.closeWriteChannel();
    Run r;
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
        r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}
