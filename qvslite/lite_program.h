// The start of QVSLite: one copy per user, its own settings and language,
// the first data file, then the tray, which is the whole program. A second
// copy hands its command line to the first and ends.
#pragma once

#include "app/single_instance.h"
#include "qvslite/file_follower.h"
#include "qvslite/lite_tray.h"
#include "tray/frm_tray.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace qvs {

// The name QVSLite's copies find each other by.
inline constexpr char kLiteInstanceName[] = "TarnwickQuorvaneLite";
// Exit code when no tray appeared to live in.
inline constexpr int kExitNoTray = 2;

// The file to open at start: the one named on the command line, else the
// last one opened ("LoadLastOpen"), else the fixed one ("FileToLoad").
QString LiteStartFile(const QString& commandLine);

class LiteProgram : public QObject {
    Q_OBJECT
public:
    explicit LiteProgram(ProgramLauncher launch, QObject* parent = nullptr);
    ~LiteProgram() override;

    // Opens the first file and shows the tray, waiting for a tray host to
    // appear (a program started at log-on may come before the panel).
    void Start(const QString& commandLine);

    frmTray* Tray() const { return tray_.get(); }
    FileFollower& Follower() { return follower_; }

signals:
    // The tray is shown and its menu built.
    void Ready();
    // The program has ended with this exit code.
    void Finished(int exitCode);

private:
    void TryShowTray();
    void Close();
    void Report(FileFollower::Problem problem, const QString& path);

    FileFollower follower_;
    std::unique_ptr<frmTray> tray_;
    QTimer trayWait_;
    int trayWaitedMs_ = 0;
};

// Runs the program to its end; returns the process exit code.
int RunLiteProgram();

} // namespace qvs
