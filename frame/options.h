// The settings of both programs, held in one program-wide instance: read at
// start-up, changed by the windows, written back by the options dialog and
// at exit. Member names are the stored names.
#pragma once

#include "frame/recent_files.h"

#include <QString>

namespace qvs {

// HistorySize as the options dialog allows it; QVSLite's is fixed.
inline constexpr int kHistorySizeMin = 2;
inline constexpr int kHistorySizeMax = 20;
inline constexpr int kLiteHistorySize = 10;

// "LoginFields" values: a typed login holds the user name and the password,
// and may add the entry's one-time code.
inline constexpr int kLoginUserPassword = 0;
inline constexpr int kLoginUserPasswordCode = 1;
inline constexpr int kLoginPasswordCode = 2;

inline constexpr int kPwHistoryMax = 50;

// StartupType values.
inline constexpr int kStartNormal = 0;
inline constexpr int kStartMinimised = 1;
inline constexpr int kStartInTray = 2;
inline constexpr int kStartWithSystem = 3; // tray start, launched at log-on

struct Options {
    QString Language = QStringLiteral("ENG");

    // Tray and auto-typing, read by both programs.
    int SysTrayPWDefault = 0;
    int SysTrayShow = 1;
    int SecurityLevel = 0;
    bool ViewMenuIcon = true;
    int KeyBeforeCB = 8;
    int KeyAfterCB = 0;
    QString KeyAfter;
    QString KeyBefore;
    // Seconds until a copied password or login leaves the clipboard (0 = never).
    int ClipboardClearSecs = 30;
    // Minutes without input until the open file locks (0 = never), and
    // whether it locks with the desktop session.
    int LockIdleMinutes = 0;
    bool LockOnSessionLock = true;
    // A notification when passwords have expired or come due for a change.
    bool RemindDue = true;
    // What a typed login holds (LoginFieldsUserPassword ...).
    int LoginFields = 0;

    // QVS.
    int StartupType = kStartNormal;
    QString Path; // folder of the data files
    bool AutoSaveWin = true;
    bool AutoSaveData = false;
    bool AutoLoadData = false;
    bool AutoLoadWin = true;
    bool ViewWizard = true;
    bool ViewFileName = true;
    bool ViewTips = true;
    bool ViewSplash = true;
    bool ViewExpChg = true;
    bool GTSAfterURL = false;
    bool BackupFile = true;
    bool BackupHistory = true;
    int HistorySize = 10;
    bool ShowCatSub = true;
    int ExpirationDays = 60;
    int ChangeDays = 30;
    int ExpirationNotify = 5;
    int ChangeNotify = 5;
    bool ShowNotes = false;
    bool AutoCheck = true;
    int DefaultGridAction = 1;
    // Earlier passwords each entry keeps (0 to kPwHistoryMax).
    int PwHistoryLimit = 10;
    int SysTrayDef = 1;
    // The breached-password list the password health window checks against
    // ("" for none).
    QString BreachedList;

    // Filling logins in the browser (QVS), kept in the group "Browser".
    // The browsers whose connection is turned on (their keys, space apart).
    QString BrowserHosts;
    // A locked file asks for its password when a browser asks for logins.
    bool BrowserUnlockOnRequest = true;
    // Entries past their expiry date are never sent to a browser.
    bool BrowserNeverExpired = false;

    // Export and print (QVS).
    int RPGroup = 0;
    int RPSort = 0;
    int RPPType = 0;
    bool RPSplit = false;
    bool RPEmptyCat = false;
    bool RPEmptySub = false;
    bool RPHeader = true;
    bool RPNotes = true;
    bool RPCsvSafe = true; // CSV values a spreadsheet would run as formulas get a "'"
    QString RPExpDir;
    QString RPExpFile = QStringLiteral("ExpPw");
    QString RPFields;
    QString RPPrinter;
    QString RPDelim = QStringLiteral(",");

    // QVSLite.
    QString FileToLoad;
    bool AutoStart = false;
    bool LoadLastOpen = true;

    // Recently opened files, and the file that was open at the last exit.
    RecentFiles Recent;
    QString FileName;
};

Options& Opt();

// Defaults of a first run; folders default to DefaultDataFolder().
Options DefaultOptions();

// The user's documents folder, or the home folder when there is none.
QString DefaultDataFolder();

// Reads everything of the running program into Opt(): "Language", the
// program's options, the report options (QVS) and the recent files.
void LoadOptions();
void LoadReportOptions();

// Writes everything except the language into the store, with openFileName
// remembered as the last open file, and sets or removes the entry that
// starts the program at log-on. False when something could not be written.
bool SaveOptions(const QString& openFileName);
bool SaveReportOptions();

// Writes only "Path" and the recent-files list (closing the tray).
bool SaveRecentFiles();

// Stores the language for the next start; Opt().Language keeps the one in use.
bool SaveLanguage(const QString& code);

// Whether the settings ask for the program to start at log-on.
bool StartsWithSystem(const Options& options);

} // namespace qvs
