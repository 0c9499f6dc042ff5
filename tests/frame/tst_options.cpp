// Options of both programs: first-run defaults, what a later run reads back,
// letter case of stored names, damaged values and the recent-files list.
#include "frame/option_table.h"
#include "frame/options.h"
#include "frame/program_identity.h"
#include "frame/settings_store.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTest>

#include <cstdio>
#include <map>

#include <sys/stat.h>

using namespace qvs;

Q_DECLARE_METATYPE(qvs::ProgramKind)

namespace {

QString NameOf(ProgramKind kind) {
    return kind == ProgramKind::QVSLite ? "QVSLite" : "QVS";
}

// The running program's settings file, read and written directly.
class RawSettings : public QSettings {
public:
    RawSettings()
        : QSettings(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Tarnwick/" + ProgramName() +
                        ".conf",
                    QSettings::IniFormat) {}
};

void WriteRaw(const std::map<QString, QString>& values) {
    RawSettings raw;
    for (const auto& [name, value] : values)
        raw.setValue(name, value);
}

std::vector<OptionKey> AllKeys() {
    auto program = ProgramOptionKeys(CurrentProgram());
    std::vector<OptionKey> keys(program.begin(), program.end());
    if (CurrentProgram() == ProgramKind::QVS)
        keys.insert(keys.end(), ReportOptionKeys().begin(), ReportOptionKeys().end());
    return keys;
}

// Every option as "name=value", as this process holds them.
QStringList DumpOptions() {
    QStringList lines{"Language=" + Opt().Language, "FileName=" + Opt().FileName,
                      "Recent=" + Opt().Recent.Paths().join('|')};
    for (const OptionKey& key : AllKeys())
        lines << QString(key.name) + "=" + OptionValue(Opt(), key).toString();
    return lines;
}

// A value of the same type that differs from the current one; texts carry
// what INI files give a meaning of their own.
void ChangeEveryOption(Options& options) {
    for (const OptionKey& key : AllKeys()) {
        std::visit(
            [&](auto member) {
                auto& value = options.*member;
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, int>)
                    value += 7;
                else if constexpr (std::is_same_v<T, bool>)
                    value = !value;
                else
                    value = QString(" %1, é;#=\"x\" ").arg(key.name);
            },
            key.member);
    }
}

const std::map<QString, QVariant> kQvsDefaults = {
    {"SysTrayPWDefault", 0},
    {"SysTrayShow", 1},
    {"SecurityLevel", 0},
    {"ViewMenuIcon", true},
    {"KeyBeforeCB", 8},
    {"KeyAfterCB", 0},
    {"KeyAfter", ""},
    {"KeyBefore", ""},
    {"StartupType", 0},
    {"AutoSaveWin", true},
    {"AutoSaveData", false},
    {"AutoLoadData", false},
    {"AutoLoadWin", true},
    {"ViewWizard", true},
    {"ViewFileName", true},
    {"ViewTips", true},
    {"ViewSplash", true},
    {"ViewExpChg", true},
    {"GTSAfterURL", false},
    {"BackupFile", true},
    {"BackupHistory", true},
    {"HistorySize", 10},
    {"ShowCatSub", true},
    {"ExpirationDays", 60},
    {"ChangeDays", 30},
    {"ExpirationNotify", 5},
    {"ChangeNotify", 5},
    {"ShowNotes", false},
    {"AutoCheck", true},
    {"DefaultGridAction", 1},
    {"SysTrayDef", 1},
    {"RPGroup", 0},
    {"RPSort", 0},
    {"RPPType", 0},
    {"RPSplit", false},
    {"RPEmptyCat", false},
    {"RPEmptySub", false},
    {"RPHeader", true},
    {"RPNotes", true},
    {"RPExpFile", "ExpPw"},
    {"RPFields", ""},
    {"RPPrinter", ""},
    {"RPDelim", ","},
    {"RPCsvSafe", true},
    {"Path", "<folder>"},
    {"RPExpDir", "<folder>"},
    {"ClipboardClearSecs", 30},
    {"LockIdleMinutes", 0},
    {"LockOnSessionLock", true},
    {"RemindDue", true},
    {"LoginFields", 0},
    {"PwHistoryLimit", 10},
    {"BreachedList", ""},
};

const std::map<QString, QVariant> kLiteDefaults = {
    {"SysTrayPWDefault", 0}, {"SysTrayShow", 1},
    {"SecurityLevel", 0},    {"ViewMenuIcon", true},
    {"KeyBeforeCB", 8},      {"KeyAfterCB", 0},
    {"KeyAfter", ""},        {"KeyBefore", ""},
    {"FileToLoad", ""},      {"AutoStart", false},
    {"LoadLastOpen", true},  {"HistorySize", 10},
    {"Path", "<folder>"},    {"ClipboardClearSecs", 30},
    {"LockIdleMinutes", 0},  {"LockOnSessionLock", true},
    {"RemindDue", true},     {"LoginFields", 0},
};

int DumpChild(const char* program) {
    SetProgramKind(QByteArray(program) == "QVSLite" ? ProgramKind::QVSLite : ProgramKind::QVS);
    LoadOptions();
    std::fputs(qPrintable(DumpOptions().join('\n')), stdout);
    return 0;
}

} // namespace

class TestOptions : public QObject {
    Q_OBJECT

private slots:
    void init() {
        for (ProgramKind kind : {ProgramKind::QVS, ProgramKind::QVSLite}) {
            SetProgramKind(kind);
            RawSettings{}.clear();
        }
        SetProgramKind(ProgramKind::QVS);
    }

    void firstRunReadsDefaults_data() {
        QTest::addColumn<ProgramKind>("program");
        QTest::newRow("QVS") << ProgramKind::QVS;
        QTest::newRow("QVSLite") << ProgramKind::QVSLite;
    }
    void firstRunReadsDefaults() {
        QFETCH(ProgramKind, program);
        SetProgramKind(program);
        LoadOptions();
        const auto& expected = program == ProgramKind::QVS ? kQvsDefaults : kLiteDefaults;
        const auto keys = AllKeys();
        QCOMPARE(keys.size(), expected.size());
        for (const OptionKey& key : keys) {
            const auto found = expected.find(key.name);
            QVERIFY2(found != expected.end(), key.name);
            const QVariant value = OptionValue(Opt(), key);
            if (found->second.typeId() == QMetaType::QString && found->second == "<folder>") {
                QVERIFY2(QDir(value.toString()).exists(), key.name);
                QVERIFY(value.toString().startsWith(QDir::homePath()));
            } else {
                QVERIFY2(value == found->second, key.name);
            }
        }
        QCOMPARE(Opt().Language, "ENG");
        QVERIFY(Opt().Recent.IsEmpty());
        QVERIFY(Opt().FileName.isEmpty());
        QVERIFY(RawSettings{}.allKeys().isEmpty()); // reading writes nothing
    }

    void savedValuesReachANewProcess_data() { firstRunReadsDefaults_data(); }
    void savedValuesReachANewProcess() {
        QFETCH(ProgramKind, program);
        SetProgramKind(program);
        LoadOptions();
        ChangeEveryOption(Opt());
        Opt().Recent.Add("/data/é b.QVS", Opt().HistorySize);
        Opt().Recent.Add("/data/a, b.QVS", Opt().HistorySize);
        QVERIFY(SaveOptions("/data/open file.QVS"));
        QVERIFY(SaveLanguage("ITA"));
        Opt().Language = "ITA";

        QCOMPARE(SettingsFilePath(), RawSettings{}.fileName());
        QVERIFY(RawSettings{}.fileName().endsWith("/Tarnwick/" + NameOf(program) + ".conf"));
        QCOMPARE(RawSettings{}.value("SettingsVersion").toString(), "1.0");

        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--dump", NameOf(program)});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        const QStringList read = QString::fromLocal8Bit(child.readAllStandardOutput()).split('\n');
        QCOMPARE(read, DumpOptions());
        QVERIFY(read.contains("FileName=/data/open file.QVS"));
        QVERIFY(read.contains("Recent=/data/a, b.QVS|/data/é b.QVS"));
    }

    void namesMatchRegardlessOfCase() {
        WriteRaw({{"Filename", "/d/last.QVS"}, {"LANGUAGE", "ITA"}, {"viewmenuicon", "false"}});
        LoadOptions();
        QCOMPARE(Opt().FileName, "/d/last.QVS");
        QCOMPARE(Opt().Language, "ITA");
        QCOMPARE(Opt().ViewMenuIcon, false);

        // One spelling remains, so no later read can pick a stale one.
        QVERIFY(SaveOptions("/d/next.QVS"));
        QVERIFY(SaveLanguage("ENG"));
        const QStringList keys = RawSettings{}.allKeys();
        QVERIFY(keys.contains("FileName") && !keys.contains("Filename"));
        QVERIFY(keys.contains("Language") && !keys.contains("LANGUAGE"));
        QVERIFY(keys.contains("ViewMenuIcon") && !keys.contains("viewmenuicon"));
    }

    // The language chosen in the options dialog counts from the next start:
    // saving at exit must not put back the one in use.
    void savingKeepsTheChosenLanguage() {
        LoadOptions();
        QVERIFY(SaveLanguage("ITA"));
        QCOMPARE(Opt().Language, "ENG");
        QVERIFY(SaveOptions(QString()));
        LoadOptions();
        QCOMPARE(Opt().Language, "ITA");
    }

    // The settings name data files and folders: their folder is the user's
    // alone, also when an earlier run left it open to others.
    void settingsFolderIsPrivate() {
        const QByteArray folder = QFile::encodeName(QFileInfo(SettingsFilePath()).path());
        QDir(QString::fromLocal8Bit(folder)).removeRecursively();
        LoadOptions();
        QVERIFY(SaveOptions(QString()));
        struct stat st {};
        QCOMPARE(::stat(folder.constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), 0700);
        QCOMPARE(::chmod(folder.constData(), 0755), 0);
        QVERIFY(SaveOptions(QString()));
        QCOMPARE(::stat(folder.constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), 0700);
    }

    void damagedValuesGiveSafeOnes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("number not a number") << "ExpirationDays"
                                             << "sixty" << QVariant(60);
        QTest::newRow("number with blanks") << "ChangeDays"
                                            << " 45 " << QVariant(45);
        QTest::newRow("flag as -1") << "AutoSaveData"
                                    << "-1" << QVariant(true);
        QTest::newRow("flag as 0") << "ViewTips"
                                   << "0" << QVariant(false);
        QTest::newRow("flag any case") << "ShowNotes"
                                       << "TRUE" << QVariant(true);
        QTest::newRow("flag garbage") << "ViewSplash"
                                      << "maybe" << QVariant(true);
        QTest::newRow("history too long") << "HistorySize"
                                          << "500" << QVariant(20);
        QTest::newRow("history none") << "HistorySize"
                                      << "0" << QVariant(2);
        QTest::newRow("history garbage") << "HistorySize"
                                         << "abc" << QVariant(10);
    }
    void damagedValuesGiveSafeOnes() {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        QFETCH(QVariant, expected);
        WriteRaw({{name, stored}});
        LoadOptions();
        for (const OptionKey& key : AllKeys())
            if (name == key.name) QCOMPARE(OptionValue(Opt(), key), expected);
    }

    void liteHistoryIsFixed() {
        SetProgramKind(ProgramKind::QVSLite);
        WriteRaw({{"HistorySize", "3"}});
        LoadOptions();
        QCOMPARE(Opt().HistorySize, kLiteHistorySize);
        Opt().HistorySize = 4;
        QVERIFY(SaveOptions(QString()));
        QCOMPARE(RawSettings{}.value("HistorySize").toInt(), kLiteHistorySize);
    }

    void recentFilesLoad_data() {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<int>("historySize");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("stops at <Empty>")
            << QStringList{"A", "<Empty>", "B"} << 10 << QStringList{"A"};
        // A missing File-3 ends the list like "<Empty>".
        QTest::newRow("stops at a gap")
            << QStringList{"A", "B", "", "D"} << 10 << QStringList{"A", "B"};
        QTest::newRow("limited by HistorySize")
            << QStringList{"A", "B", "C", "D", "E"} << 3 << QStringList{"A", "B", "C"};
        QTest::newRow("repeats dropped")
            << QStringList{"A", "A", "B", "a"} << 10 << QStringList{"A", "B", "a"};
        QTest::newRow("spellings of one file are one entry")
            << QStringList{"/d/a.QVS", "/d/./a.QVS", "/d/x/../a.QVS", "/d//b.QVS"} << 10
            << QStringList{"/d/a.QVS", "/d/b.QVS"};
    }
    void recentFilesLoad() {
        QFETCH(QStringList, stored);
        QFETCH(int, historySize);
        QFETCH(QStringList, expected);
        std::map<QString, QString> raw{{"HistorySize", QString::number(historySize)}};
        for (int i = 0; i < stored.size(); ++i)
            if (!stored[i].isEmpty()) raw[QString("File-%1").arg(i + 1)] = stored[i];
        WriteRaw(raw);
        LoadOptions();
        QCOMPARE(Opt().Recent.Paths(), expected);
    }

    // Names beyond the list must not come back when HistorySize grows.
    void recentFilesSaveForgetsTheRest() {
        WriteRaw({{"HistorySize", "3"},
                  {"NumFiles", "5"},
                  {"File-1", "A"},
                  {"File-2", "B"},
                  {"File-3", "C"},
                  {"File-4", "D"},
                  {"file-5", "E"}});
        LoadOptions();
        QVERIFY(SaveOptions(QString()));
        RawSettings raw;
        QCOMPARE(raw.value("NumFiles").toInt(), 3);
        QCOMPARE(raw.value("File-3").toString(), "C");
        QVERIFY(!raw.contains("File-4") && !raw.contains("file-5"));
        raw.setValue("HistorySize", 10);
        raw.sync();
        LoadOptions();
        QCOMPARE(Opt().Recent.Paths(), QStringList({"A", "B", "C"}));
    }

    void recentFilesAdd() {
        RecentFiles recent;
        for (const char* path : {"A", "B", "C"})
            recent.Add(path, 3);
        QCOMPARE(recent.Paths(), QStringList({"C", "B", "A"}));
        recent.Add("A", 3); // already listed: moves to the front
        QCOMPARE(recent.Paths(), QStringList({"A", "C", "B"}));
        recent.Add("D", 3); // full: the oldest goes
        QCOMPARE(recent.Paths(), QStringList({"D", "A", "C"}));
        recent.Add("E", 2); // limit lowered since: trimmed to it
        QCOMPARE(recent.Paths(), QStringList({"E", "D"}));
    }

    void recentFilesAloneKeepOtherOptions() {
        LoadOptions();
        Opt().Path = "/data/folder";
        Opt().Recent.Add("/data/folder/x.QVS", Opt().HistorySize);
        Opt().ViewTips = false; // changed but not to be stored by this save
        QVERIFY(SaveRecentFiles());
        LoadOptions();
        QCOMPARE(Opt().Path, "/data/folder");
        QCOMPARE(Opt().Recent.Paths(), QStringList{"/data/folder/x.QVS"});
        QCOMPARE(Opt().ViewTips, true);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--dump") == 0) return DumpChild(argv[2]);
    TestOptions test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_options.moc"
