// The program-wide state of QVS: the one store, the file it came from, and
// the flags the windows share. Created at start-up, alive for the whole run.
#pragma once

#include "store/pw.h"

#include <QDateTime>
#include <QString>
#include <memory>

namespace qvs {

struct ProgramState {
    // The open data file; replaced as a whole only by NewDataFile.
    std::unique_ptr<ardeko::clsPW> store = std::make_unique<ardeko::clsPW>();
    QString currentFileName;     // the file the program works on; "" when none
    QString currentFilePassword; // the password it was opened with
    QDateTime loadTime;          // the last open attempt, then the file's modification time
    bool inTrayMode = false;
    bool switchingWindows = false; // while changing between main window and tray
    bool startingUp = false;       // until the first main window has loaded
    QString versionText;           // "QVS V1.2.3", for the About box
    QString programFolder;         // folder of the executable
};

ProgramState& App();
inline ardeko::clsPW& Store() {
    return *App().store;
}

} // namespace qvs
