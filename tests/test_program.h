// The path of a program a test starts (the program under test, a login form
// to type into). ctest names it in an environment variable rather than the
// build compiling it in: a path in the source would make a clone in another
// folder miss the compiler cache.
#pragma once

#include <QString>
#include <QtGlobal>

inline QString TestProgram(const char* variable) {
    const QString path = qEnvironmentVariable(variable);
    if (path.isEmpty()) qFatal("%s does not name the program to start (ctest sets it)", variable);
    return path;
}
