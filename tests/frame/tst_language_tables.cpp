// The built-in language tables: complete, consistent with each other, and
// holding every text the programs' windows ask for.
#include "frame/language_table.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>

using namespace qvs;

namespace {

// Text ids the windows use. A window that starts using a new id adds it here,
// so a table without it fails at once rather than showing "[id]".
const QList<int> kUsedIds = {
    // message box and shared buttons
    1, 10, 11, 12, 13, 14, 15, 16, 17,
    // category tree folders, category defaults, grid headers
    30, 31, 32, 33, 34, 35, 36, 37, 40, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61,
    // tray menu
    71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82, 83,
    // main window menus and pop-ups
    100, 101, 102, 103, 104, 106, 107, 108, 109, 110, 111, 112, 113, 120, 121, 122, 123, 124, 125,
    126, 127, 128, 129, 140, 141, 142, 143, 144, 145, 146, 147, 148, 149, 160, 161, 162, 163, 164,
    165, 166, 180, 181, 182, 183, 184, 190, 191, 192, 193, 194, 195, 196, 197, 198, 440, 441, 855,
    856, 860, 861, 865, 866, 870, 871, 872,
    // toolbar
    900, 905, 910, 915, 920, 925, 930, 935, 940, 945, 950, 955, 960, 965,
    // category dialogs, expiry check
    3000, 3001, 3002, 3003, 3005, 3006, 3007, 3008, 3009, 4000, 5000, 5001, 5002, 5003, 5004, 5005,
    5006, 5007, 5008, 5009, 5010, 5011, 33500, 33501, 33502, 33503, 33504, 33505, 33506,
    // texts a legacy file cannot hold
    35300, 35301, 35302, 35303, 35304, 35305, 35306, 35307,
    // file names in password prompts, retries, open times
    36400, 36401, 36402, 36403, 36404, 36405,
    // the store's reasons in the user's language
    36410, 36411, 36412, 36413, 36414, 36415, 36416, 36417, 36418, 36419, 36420, 36421, 36422,
    36423, 36424, 36425, 36426, 36427, 36428, 36429,
    // what a legacy file cannot hold of browser filling
    38500, 38501,
    // the questions the browser's requests raise
    38502, 38503, 38504, 38505, 38506, 38507, 38508, 38509, 38510, 38511, 38512, 38513,
    // export and print
    6000, 6001, 6002, 6003, 6004, 6005, 6006, 6007, 6008, 6009, 6010, 6011, 6012, 6013, 6014, 6015,
    6016, 6017, 6018, 6019, 6020, 6021, 6022, 6023, 6024, 6025, 6026, 6027, 6028, 6029, 6030, 6031,
    6032, 6033, 6051, 6057, 31600, 31601, 31602, 31603, 31604, 31605, 31606, 31607, 31608, 31609,
    31610, 33800, 33801, 33802, 33850,
    // file password and show-entry windows
    7000, 7001, 7002, 7003, 7004, 7005, 7006, 7007, 7008, 7050, 7051, 12001, 12002, 12003,
    // typing into other windows
    31800, 31801, 31802, 33810,
    // a later start that could not hand over, an address of another scheme
    33820, 33840,
    // reminder of due passwords, and its option
    32300, 32301, 32302, 32303, 32304, 32305, 32306,
    // open dialog
    8000, 8001, 8002, 8003, 8004, 8007, 8008, 8009,
    // main window questions
    9001, 9002, 9003, 9005, 9006, 9007, 9008, 9011, 9012, 9013, 9016, 9017, 9018, 9020, 9021, 9023,
    9024,
    // options dialog
    10000, 10001, 10002, 10003, 10004, 10005, 10006, 10007, 10020, 10100, 10101, 10102, 10103,
    10104, 10105, 10106, 10107, 10108, 10109, 10200, 10201, 10202, 10203, 10204, 10205, 10206,
    10207, 10208, 10300, 10301, 10302, 10303, 10304, 10305, 10306, 10307, 10308, 10309, 10310,
    10311, 10350, 10351, 10352, 10353, 10354, 10355, 10356, 10357, 10358, 10359, 10360, 10361,
    10362, 10363, 10364, 10365, 10366, 10400, 10401, 10402, 10403, 10404, 10500, 10501, 10502,
    10503, 10504, 10505, 10506, 10550, 10551, 10552, 10553, 10554, 10600, 10601,
    // entry editor
    11000, 11001, 11002, 11003, 11004, 11005, 11006, 11007, 11008, 11009, 11010, 11011, 11012,
    11013, 11050, 11051, 11052, 11053, 11054, 11100, 11101, 11102, 11103, 11104, 11105, 11200,
    11201, 11202, 11203, 11204, 11300, 11301, 11400, 11401, 11402, 11501, 11502, 11503, 11504,
    11600, 11601, 11602, 11603, 11604, 11605, 11700, 11701, 11702, 11703, 11704, 11705,
    // entry editor: refused texts, password generator, strength
    31100, 31101, 31102, 31103, 31104, 31105, 31106, 31107, 31108, 31109, 31110, 31111, 31112,
    31113, 31114, 31115, 31116, 31118, 31119, 31120, 31121, 31122, 31123, 31125, 31126, 33830,
    // subcategory dialog
    14000, 14001, 14002, 14003, 14004, 14005, 14006, 14007, 14008, 14009, 14010,
    // About box and tip of the day
    20000, 20002, 20100, 20101, 20102, 20103, 20110, 20111, 20112, 20113, 20114,
    // file commands and shared messages
    30001, 30002, 30003, 30004, 30005, 30006, 30007, 30008,
    // main window status bar
    30101, 30110, 30111, 30112, 30113, 30114,
    // finding entries as you type
    32200, 32201, 32202, 32203, 32204,
    // password offer, delete refusals, column menu
    31000, 31001, 31002, 31003, 31004,
    // options added settings, locking the open file
    31400, 31401, 31402, 31403, 31404, 31405, 31406, 31407, 31408, 31409, 31410, 31411, 31412,
    31413, 31414, 31415,
    // QVSLite option window
    31420, 31421, 31422, 31423, 31424, 31425,
    // QVSLite tray program
    32400, 32401, 32402, 32403, 32404,
    // typing through the desktop portal, the tray on GNOME
    38750, 38751, 38752, 38753, 38754,
    // category windows: labels
    32000, 32001,
    // importing other programs' exports
    34000, 34001, 34002, 34003, 34004, 34005, 34006, 34007, 34008, 34009, 34010, 34011, 34012,
    34013, 34014, 34015, 34016, 34017, 34018, 34019, 34020, 34021, 34022, 34023, 34024, 34025,
    34026, 34027, 34028, 34029, 34030, 34031, 34032, 34033, 34034, 34035, 34036, 34037, 34038,
    34039, 34040, 34041, 34042, 34043, 34044, 34045, 34046, 34047, 34048, 34050, 34051, 34052,
    34053, 34054, 34055, 34056};

// Texts that are glued to a value ("Expired on " + date, n + " days ..."):
// their blank must survive editing the table.
const QList<int> kEndsWithBlank = {5002, 5004, 6057, 11008, 11009};
const QList<int> kStartsWithBlank = {5003, 5005};

QStringList BuiltInCodes() {
    return QDir(QStringLiteral(":/lang")).entryList(QDir::Files, QDir::Name);
}

QByteArray ReadBuiltIn(const QString& code) {
    QFile file(QStringLiteral(":/lang/") + code);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

LanguageTable BuiltIn(const QString& code) {
    return ParseLanguageTable(ReadBuiltIn(code));
}

QStringList Placeholders(const QString& text) {
    static const QRegularExpression marker(QStringLiteral("%[a-z]"));
    QStringList found;
    for (const auto& match : marker.globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

QList<int> SortedIds(const LanguageTable& table) {
    QList<int> ids = table.texts.keys();
    std::sort(ids.begin(), ids.end());
    return ids;
}

} // namespace

class TestLanguageTables : public QObject {
    Q_OBJECT

private slots:
    void bothLanguagesAreBuiltIn() {
        QCOMPARE(BuiltInCodes(), QStringList({QStringLiteral("ENG"), QStringLiteral("ITA")}));
    }

    void everyTable_data() {
        QTest::addColumn<QString>("code");
        for (const QString& code : BuiltInCodes())
            QTest::newRow(qPrintable(code)) << code;
    }

    void everyTable() {
        QFETCH(QString, code);
        const LanguageTable table = BuiltIn(code);
        QVERIFY2(table.problems.isEmpty(), qPrintable(table.problems.join(u'\n')));
        QVERIFY(!table.name.isEmpty());
        for (auto it = table.texts.cbegin(); it != table.texts.cend(); ++it)
            QVERIFY2(!it.value().trimmed().isEmpty(), qPrintable(QString::number(it.key())));
        QCOMPARE(table.texts.value(30002), QStringLiteral("<New QVS File>"));
        for (int id : kUsedIds)
            QVERIFY2(table.texts.contains(id), qPrintable(QStringLiteral("missing %1").arg(id)));
        for (int id : kEndsWithBlank)
            QVERIFY2(table.texts.value(id).endsWith(u' '), qPrintable(QString::number(id)));
        for (int id : kStartsWithBlank)
            QVERIFY2(table.texts.value(id).startsWith(u' '), qPrintable(QString::number(id)));
    }

    // Every other table translates exactly the English one.
    void tablesMatchEnglish() {
        const LanguageTable english = BuiltIn(QStringLiteral("ENG"));
        for (const QString& code : BuiltInCodes()) {
            const LanguageTable other = BuiltIn(code);
            QCOMPARE(SortedIds(other), SortedIds(english));
            for (auto it = english.texts.cbegin(); it != english.texts.cend(); ++it) {
                QVERIFY2(Placeholders(other.texts.value(it.key())) == Placeholders(it.value()),
                         qPrintable(QStringLiteral("%1 %2").arg(code).arg(it.key())));
            }
        }
    }

    // The English table is the index of ids: each text has its note above it.
    void everyEnglishIdHasANote() {
        const QList<QByteArray> lines = ReadBuiltIn(QStringLiteral("ENG")).split('\n');
        static const QRegularExpression entry(QStringLiteral("^(\\d+)\\t"));
        for (int i = 1; i < lines.size(); ++i) {
            const auto match = entry.match(QString::fromUtf8(lines[i]));
            if (!match.hasMatch()) continue;
            const QByteArray note = "# " + match.captured(1).toLatin1() + ": ";
            QVERIFY2(lines[i - 1].startsWith(note), lines[i].constData());
        }
    }
};

QTEST_MAIN(TestLanguageTables)
#include "tst_language_tables.moc"
