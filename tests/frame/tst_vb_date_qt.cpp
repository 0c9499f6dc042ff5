// The store's day counts as the windows show and take them: the same day
// both ways, out-of-range values kept to what the store can hold, and the
// same text the store's own exports write.
#include "frame/vb_date_qt.h"
#include "store/export/export_fields.h"
#include "store/vbdate.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace qvs;

class TestVbDateQt : public QObject {
    Q_OBJECT

private slots:
    // Known days, before and after day 0; the time of day is dropped toward
    // day 0 as the store does, also below it.
    void daysBothWays() {
        const struct {
            double vb;
            QDate date;
        } cases[] = {{0, QDate(1899, 12, 30)},
                     {-1, QDate(1899, 12, 29)},
                     {-0.75, QDate(1899, 12, 30)},
                     {-1.5, QDate(1899, 12, 29)},
                     {1, QDate(1899, 12, 31)},
                     {60, QDate(1900, 2, 28)},
                     {61, QDate(1900, 3, 1)},
                     {36526.999, QDate(2000, 1, 1)},
                     {ardeko::kVbDateMin, QDate(100, 1, 1)},
                     {std::floor(ardeko::kVbDateMax), QDate(9999, 12, 31)}};
        for (const auto& c : cases) {
            QCOMPARE(DateFromVb(c.vb), c.date);
            QCOMPARE(VbFromDate(c.date), ardeko::VbDatePart(c.vb));
        }
        QCOMPARE(FirstVbDate(), QDate(100, 1, 1));
        QCOMPARE(LastVbDate(), QDate(9999, 12, 31));
        QCOMPARE(VbFromDate(QDate()), 0.0);
    }

    // A damaged record's date shows as the nearest one the store holds.
    void outOfRangeIsKept() {
        QCOMPARE(DateFromVb(1e12), LastVbDate());
        QCOMPARE(DateFromVb(-1e12), FirstVbDate());
        QCOMPARE(DateFromVb(std::numeric_limits<double>::quiet_NaN()), QDate(1899, 12, 30));
        QCOMPARE(DateFromVb(std::numeric_limits<double>::infinity()), QDate(1899, 12, 30));
        QVERIFY(DayMonthYearText(1e12).isEmpty());
        QVERIFY(DayMonthYearText(std::numeric_limits<double>::quiet_NaN()).isEmpty());
    }

    // What a window shows is what an export of the same file writes.
    void textsMatchTheStore() {
        for (const double vb :
             {1.0, -1.5, 36526.75, 45000.25, ardeko::kVbDateMin, ardeko::kVbDateMax})
            QCOMPARE(DayMonthYearText(vb), QString::fromStdString(ardeko::ExportDateText(vb)));
        QCOMPARE(DayMonthYearText(ardeko::kVbDateMin), QStringLiteral("01/01/0100"));
        QCOMPARE(DateTimeText(36526.75), QStringLiteral("01/01/2000 18:00"));
        QCOMPARE(DateFromVb(45000).toString(DateDisplayFormat()), DayMonthYearText(45000));
    }
};

QTEST_GUILESS_MAIN(TestVbDateQt)
#include "tst_vb_date_qt.moc"
