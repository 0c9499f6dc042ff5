// Starting with the user's session: the autostart entry's contents, its
// Exec quoting, and its following the saved options of either program.
#include "frame/autostart.h"
#include "frame/options.h"
#include "frame/program_identity.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <map>

using namespace qvs;

namespace {

// Reverses what a desktop-entry reader undoes: first the string escapes of
// the value, then the double-quoting of the one argument. Null on bad input.
QString DecodeExecArgument(const QString& value) {
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        QChar c = value[i];
        if (c == u'\\' && i + 1 < value.size()) {
            c = value[++i];
            c = c == u'n' ? QChar(u'\n') : c == u't' ? QChar(u'\t') : c == u'r' ? QChar(u'\r') : c;
        }
        text += c;
    }
    if (text.size() < 2 || !text.startsWith(u'"') || !text.endsWith(u'"')) return QString();
    QString argument(0, QChar());
    for (qsizetype i = 1; i + 1 < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') return QString();
        if (c == u'\\') {
            argument += text[++i];
        } else if (c == u'%') {
            if (text[++i] != u'%') return QString(); // a field code, not a literal
            argument += c;
        } else {
            argument += c;
        }
    }
    return argument;
}

std::map<QString, QString> ReadEntry(const QString& path) {
    QFile file(path);
    std::map<QString, QString> entry;
    if (!file.open(QIODevice::ReadOnly)) return entry;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    entry["<first line>"] = lines.value(0);
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0) entry[line.left(equals)] = line.mid(equals + 1);
    }
    return entry;
}

QString AutostartFolder() {
    return qEnvironmentVariable("XDG_CONFIG_HOME") + "/autostart";
}

} // namespace

class TestAutostart : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QFile::remove(AutostartFolder()); // a plain file left by a failed test
        QDir(AutostartFolder()).removeRecursively();
        SetProgramKind(ProgramKind::QVS);
        Opt() = DefaultOptions();
    }

    void execArgument_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("expected"); // empty: only check it decodes back
        QTest::newRow("plain") << "/usr/bin/qvs"
                               << "\"/usr/bin/qvs\"";
        QTest::newRow("spaces") << "/opt/My Apps/qvs"
                                << "\"/opt/My Apps/qvs\"";
        QTest::newRow("dollar") << "/a$b"
                                << "\"/a\\\\$b\"";
        QTest::newRow("percent") << "/100%/qvs"
                                 << "\"/100%%/qvs\"";
        QTest::newRow("quote and backslash") << "/a\"b\\c"
                                             << "\"/a\\\\\"b\\\\\\\\c\"";
        QTest::newRow("shell characters") << "/x/`id`;'q' <>|&*?#()~"
                                          << "";
        QTest::newRow("controls") << "/x/a\tb\nc\rd"
                                  << "";
        QTest::newRow("non-ASCII") << "/home/zoë/Programme/qvs"
                                   << "";
    }
    void execArgument() {
        QFETCH(QString, program);
        QFETCH(QString, expected);
        const QString exec = DesktopExecArgument(program);
        if (!expected.isEmpty()) QCOMPARE(exec, expected);
        QVERIFY(!exec.contains(u'\n') && !exec.contains(u'\r'));
        QCOMPARE(DecodeExecArgument(exec), program);
    }

    void entryWrittenReplacedAndRemoved() {
        const QString path = AutostartFilePath("QVS");
        QCOMPARE(path, AutostartFolder() + "/QVS.desktop");
        QVERIFY(WriteAutostart("QVS", "/opt/Old Place/qvs"));
        QVERIFY(WriteAutostart("QVS", "/opt/My Apps/qvs"));
        auto entry = ReadEntry(path);
        QCOMPARE(entry["<first line>"], "[Desktop Entry]");
        QCOMPARE(entry["Type"], "Application");
        QCOMPARE(entry["Name"], "QVS");
        QCOMPARE(entry["Exec"], "\"/opt/My Apps/qvs\"");
        QCOMPARE(entry["X-GNOME-Autostart-enabled"], "true");
        QCOMPARE(QDir(AutostartFolder()).entryList(QDir::Files), QStringList{"QVS.desktop"});

        QVERIFY(RemoveAutostart("QVS"));
        QVERIFY(!QFile::exists(path));
        QVERIFY(RemoveAutostart("QVS")); // nothing there is no failure
    }

    void followsSavedOptions() {
        const QString qvs = AutostartFilePath("QVS");
        Opt().StartupType = kStartWithSystem;
        QVERIFY(SaveOptions(QString()));
        QCOMPARE(DecodeExecArgument(ReadEntry(qvs)["Exec"]),
                 QCoreApplication::applicationFilePath());

        SetProgramKind(ProgramKind::QVSLite);
        Opt() = DefaultOptions();
        Opt().AutoStart = true;
        QVERIFY(SaveOptions(QString()));
        QCOMPARE(ReadEntry(AutostartFilePath("QVSLite"))["Name"], "QVSLite");
        Opt().AutoStart = false;
        QVERIFY(SaveOptions(QString()));
        QVERIFY(!QFile::exists(AutostartFilePath("QVSLite")));
        QVERIFY(QFile::exists(qvs)); // each program has its own entry

        SetProgramKind(ProgramKind::QVS);
        Opt() = DefaultOptions();
        Opt().StartupType = kStartMinimised;
        QVERIFY(SaveOptions(QString()));
        QVERIFY(!QFile::exists(qvs));
    }

    void failureIsReported() {
        QFile blocker(AutostartFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder belongs
        blocker.close();
        QVERIFY(!WriteAutostart("QVS", "/usr/bin/qvs"));
        Opt().StartupType = kStartWithSystem;
        QVERIFY(!SaveOptions(QString()));
        QFile::remove(AutostartFolder());
    }
};

QTEST_GUILESS_MAIN(TestAutostart)
#include "tst_autostart.moc"
