// DateState: the three levels at the edges of the warning period, and that
// the level picks the caller's value.
#include "mainwin/date_state.h"
#include "mainwin/entry_grid_cells.h"
#include "store/pw.h"

#include <map>

#include <QTest>

using namespace qvs;

Q_DECLARE_METATYPE(qvs::DateLevel)

namespace {
constexpr double kToday = 45458; // 15 June 2024
}

class TestDateState : public QObject {
    Q_OBJECT

private slots:
    void levels_data() {
        QTest::addColumn<bool>("inForce");
        QTest::addColumn<double>("date");
        QTest::addColumn<int>("days");
        QTest::addColumn<DateLevel>("expected");
        QTest::newRow("not in force, long past") << false << kToday - 400 << 5 << DateLevel::Normal;
        QTest::newRow("not in force, today") << false << kToday << 5 << DateLevel::Normal;
        QTest::newRow("yesterday") << true << kToday - 1 << 5 << DateLevel::Alert;
        QTest::newRow("yesterday, no warning days") << true << kToday - 1 << 0 << DateLevel::Alert;
        // A date of today has come, whatever the warning days.
        QTest::newRow("today within 5 days") << true << kToday << 5 << DateLevel::Alert;
        QTest::newRow("today, no warning days") << true << kToday << 0 << DateLevel::Alert;
        QTest::newRow("tomorrow, no warning days") << true << kToday + 1 << 0 << DateLevel::Normal;
        QTest::newRow("in 4 days with 5 days") << true << kToday + 4 << 5 << DateLevel::Warning;
        QTest::newRow("in 5 days with 5 days") << true << kToday + 5 << 5 << DateLevel::Warning;
        QTest::newRow("in 6 days with 5 days") << true << kToday + 6 << 5 << DateLevel::Normal;
        QTest::newRow("far ahead") << true << kToday + 300 << 5 << DateLevel::Normal;
        QTest::newRow("negative days never warn") << true << kToday + 1 << -3 << DateLevel::Normal;
        QTest::newRow("time of day on yesterday") << true << kToday - 0.5 << 0 << DateLevel::Alert;
    }
    void levels() {
        QFETCH(bool, inForce);
        QFETCH(double, date);
        QFETCH(int, days);
        QFETCH(DateLevel, expected);
        QCOMPARE(DateState(inForce, date, static_cast<std::int16_t>(days), kToday), expected);
    }

    // The grid's colours and the counters of the state folders and status
    // bar must never disagree about an entry, on either edge of a period,
    // nor about an entry that does not ask to be warned ahead.
    void gridLevelsMatchTheCounters() {
        ardeko::clsPW store;
        store.NewFile();
        store.SetClock([] { return kToday + 0.75; }); // evening: time of day must not matter
        int n = 0;
        for (double offset : {-30.0, -1.0, 0.0, 0.5, 1.0, 4.0, 5.0, 6.0, 40.0}) {
            ardeko::T_Password p;
            p.service = "s" + std::to_string(n++);
            p.blExpire = p.blChange = true;
            p.Dt_Expire = kToday + offset;
            p.Dt_Change = kToday + offset + 1;
            p.ggNotExpire = 5;
            p.ggNotChange = 0;
            p.blNotExpire = p.blNotChange = true;
            QVERIFY(store.PWAdd(p));
            p.service = "quiet " + p.service;
            p.blNotExpire = p.blNotChange = false;
            QVERIFY(store.PWAdd(p));
        }
        std::map<DateLevel, int> expiry, change;
        for (const ardeko::T_Password& p : store.Password()) {
            ++expiry[ExpiryLevel(p, store.Today())];
            ++change[ChangeLevel(p, store.Today())];
        }
        QCOMPARE(expiry[DateLevel::Alert], int(store.ExpiredNumber()));
        QCOMPARE(expiry[DateLevel::Warning], int(store.InExpirationNumber()));
        QCOMPARE(change[DateLevel::Alert], int(store.ChangedNumber()));
        QCOMPARE(change[DateLevel::Warning], int(store.InChangeNumber()));
        QCOMPARE(expiry[DateLevel::Alert], 6);   // -30, -1 and today, warned or not
        QCOMPARE(expiry[DateLevel::Warning], 4); // 0.5, 1, 4 and 5 days ahead, warned only
    }

    void picksTheCallersValue() {
        QCOMPARE(ByDateLevel(DateLevel::Alert, 'r', 'y', 'g'), 'r');
        QCOMPARE(ByDateLevel(DateLevel::Warning, 'r', 'y', 'g'), 'y');
        QCOMPARE(ByDateLevel(DateLevel::Normal, 'r', 'y', 'g'), 'g');
    }
};

QTEST_APPLESS_MAIN(TestDateState)
#include "tst_date_state.moc"
