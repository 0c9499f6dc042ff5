// The program-wide state of QVS: the one store, the file it came from, and
// the flags the windows share. Created at start-up, alive for the whole run.
#pragma once

#include "store/crypto/secret_key.h"
#include "store/pw.h"

#include <QDateTime>
#include <QString>
#include <memory>

namespace qvs {

struct ProgramState {
    // The open data file; replaced as a whole only by NewDataFile.
    std::unique_ptr<ardeko::clsPW> store = std::make_unique<ardeko::clsPW>();
    QString currentFileName; // the file the program works on; "" when none
    // The password the file was opened with, kept only by a program that
    // reloads the file after another program saved it (QVSLite) and must
    // read a legacy file again; QVS leaves that to the store, which keeps
    // only the key of a format-2 file.
    ardeko::SecretText currentFilePassword;
    QDateTime loadTime; // the last open attempt, then the file's modification time
    bool inTrayMode = false;
    bool switchingWindows = false; // while changing between main window and tray
    bool startingUp = false;       // until the first main window has loaded
    QString versionText;           // "QVS V1.2.3", for the About box
    QString programFolder;         // folder of the executable
};

ProgramState& App();
// Keeps password as the file's where the program keeps one (see above);
// empty otherwise. The given text is wiped either way.
void HoldFilePassword(QString& password);
inline ardeko::clsPW& Store() {
    return *App().store;
}

} // namespace qvs
