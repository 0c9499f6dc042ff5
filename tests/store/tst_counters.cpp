// Favourite and expiry counters against a fixed "today".
#include "store/pw.h"
#include "tests/store/store_samples.h"

#include <QtTest>

using namespace ardeko;

namespace {

// 10 March 2026, in the afternoon: the counters must use the day only.
const double kToday = VbDateFromParts({2026, 3, 10, 0, 0, 0});
double Afternoon() {
    return kToday + 0.65;
}

struct Counts {
    std::int32_t expired, inExpiration, changed, inChange;
    bool operator==(const Counts&) const = default;
};

Counts CountsOf(const clsPW& s) {
    return {s.ExpiredNumber(), s.InExpirationNumber(), s.ChangedNumber(), s.InChangeNumber()};
}

} // namespace

class TestCounters : public QObject {
    Q_OBJECT

private slots:
    void dueDates_data() {
        QTest::addColumn<bool>("inForce");
        QTest::addColumn<int>("daysAhead");
        QTest::addColumn<int>("warnDays");
        QTest::addColumn<bool>("past");
        QTest::addColumn<bool>("near");
        QTest::addColumn<bool>("warnAhead");
        QTest::newRow("7 ahead, 7 days warning") << true << 7 << 7 << false << true << true;
        // Near only for an entry that asks to be warned; a date that has
        // come counts all the same.
        QTest::newRow("7 ahead, no warning asked") << true << 7 << 7 << false << false << false;
        QTest::newRow("on the day, no warning asked") << true << 0 << 7 << true << false << false;
        QTest::newRow("8 ahead, 7 days warning") << true << 8 << 7 << false << false << true;
        QTest::newRow("tomorrow, no warning") << true << 1 << 0 << false << false << true;
        QTest::newRow("negative warning") << true << 1 << -5 << false << false << true;
        QTest::newRow("on the day") << true << 0 << 7 << true << false << true;
        QTest::newRow("long past") << true << -400 << 0 << true << false << true;
        QTest::newRow("not in force, past") << false << -3 << 7 << false << false << true;
        QTest::newRow("not in force, near") << false << 3 << 7 << false << false << true;
    }
    // Each case once as the expiry date and once as the change date, so
    // neither pair of counters reads the other's fields.
    void dueDates() {
        QFETCH(bool, inForce);
        QFETCH(int, daysAhead);
        QFETCH(int, warnDays);
        QFETCH(bool, past);
        QFETCH(bool, near);
        QFETCH(bool, warnAhead);
        const std::int32_t p = past, n = near;
        for (bool expiry : {true, false}) {
            T_Password e = SampleEntry("Dated");
            // The other date is long past but not in force.
            e.Dt_Expire = e.Dt_Change = kToday - 1000;
            e.blNotExpire = e.blNotChange = warnAhead;
            (expiry ? e.blExpire : e.blChange) = inForce;
            (expiry ? e.Dt_Expire : e.Dt_Change) = kToday + daysAhead;
            (expiry ? e.ggNotExpire : e.ggNotChange) = static_cast<std::int16_t>(warnDays);
            clsPW s;
            s.SetClock(&Afternoon);
            QVERIFY(s.PWAdd(e));
            const Counts expected = expiry ? Counts{p, n, 0, 0} : Counts{0, 0, p, n};
            QVERIFY2(CountsOf(s) == expected, expiry ? "expiry" : "change");
        }
    }

    void countsOverAStore() {
        clsPW s;
        s.SetClock(&Afternoon);
        QVERIFY(CountsOf(s) == (Counts{0, 0, 0, 0}));
        QCOMPARE(s.FavouriteNumber(), 0);
        // More than a 16-bit count holds, with every fourth entry expired.
        for (int i = 0; i < 33000; ++i) {
            T_Password e = SampleEntry(QString::asprintf("E%05d", i).toStdString());
            e.Favourites = true;
            e.blExpire = i % 4 == 0;
            e.Dt_Expire = kToday;
            e.blChange = true;
            e.Dt_Change = kToday + 2;
            e.ggNotChange = 2;
            e.blNotChange = true;
            s.InsertPassword(e);
        }
        QCOMPARE(s.FavouriteNumber(), 33000);
        QVERIFY(CountsOf(s) == (Counts{8250, 0, 0, 33000}));
        s.SetClock([] { return kToday + 2; });
        QVERIFY(CountsOf(s) == (Counts{8250, 0, 33000, 0}));
    }
};

QTEST_GUILESS_MAIN(TestCounters)
#include "tst_counters.moc"
