// The file name taken from a command line, and the command line built from
// the program's arguments.
#include "app/command_line.h"

#include <QtTest>

using qvs::CommandLineFromArguments;
using qvs::FileNameFromCommandLine;

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void fileName_data() {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("blanks only") << "   "
                                     << "";
        QTest::newRow("plain path") << "/home/u/a.QVS"
                                    << "/home/u/a.QVS";
        QTest::newRow("blanks around") << "  /home/u/a.QVS  "
                                       << "/home/u/a.QVS";
        QTest::newRow("quoted with spaces") << "\"/home/u/My Files/a b.QVS\""
                                            << "/home/u/My Files/a b.QVS";
        QTest::newRow("unquoted with spaces") << "/home/u/My Files/a b.QVS"
                                              << "/home/u/My Files/a b.QVS";
        QTest::newRow("quote only at the end") << "/home/u/a.QVS\""
                                               << "/home/u/a.QVS";
        QTest::newRow("quote only at the start") << "\"/home/u/a.QVS"
                                                 << "/home/u/a.QVS";
        // Blanks go before the quotes are looked at, never after.
        QTest::newRow("blanks outside quotes") << "  \"/home/u/a.QVS\"  "
                                               << "/home/u/a.QVS";
        QTest::newRow("blanks inside quotes") << "\" /home/u/a.QVS \""
                                              << " /home/u/a.QVS ";
        QTest::newRow("one quote at each end only") << "\"\"a.QVS\"\""
                                                    << "\"a.QVS\"";
        QTest::newRow("a lone quote") << "\""
                                      << "";
        QTest::newRow("two quotes") << "\"\""
                                    << "";
        QTest::newRow("no further parsing") << "a.QVS -x \"b\""
                                            << "a.QVS -x \"b";
        QTest::newRow("line break of a hand-over") << "/home/u/a.QVS\n"
                                                   << "/home/u/a.QVS";
    }
    void fileName() {
        QFETCH(QString, commandLine);
        QFETCH(QString, expected);
        QCOMPARE(FileNameFromCommandLine(commandLine), expected);
    }

    void commandLineFromArguments() {
        QCOMPARE(CommandLineFromArguments({"/usr/bin/qvs"}), QString());
        QCOMPARE(CommandLineFromArguments({}), QString());
        // A path with spaces arrives as one argument and stays one name.
        const QString line = CommandLineFromArguments({"/usr/bin/qvs", "/home/u/My Files/a.QVS"});
        QCOMPARE(FileNameFromCommandLine(line), QStringLiteral("/home/u/My Files/a.QVS"));
        QCOMPARE(CommandLineFromArguments({"qvs", "a", "b"}), QStringLiteral("a b"));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
