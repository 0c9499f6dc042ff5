// DateState: the three levels at the edges of the warning period, that they
// agree with the store's counters, and that the level picks the caller's value.
#include "mainwin/date_state.h"
#include "store/pw.h"

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
        QTest::newRow("today within 5 days") << true << kToday << 5 << DateLevel::Alert;
        QTest::newRow("today, no warning days") << true << kToday << 0 << DateLevel::Alert;
        QTest::newRow("in 4 days with 5 days") << true << kToday + 4 << 5 << DateLevel::Warning;
        QTest::newRow("last warning day") << true << kToday + 5 << 5 << DateLevel::Warning;
        QTest::newRow("day after the warning") << true << kToday + 6 << 5 << DateLevel::Normal;
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

    // The grid's colours and the folders of due entries must never disagree.
    void agreesWithTheStoresCounters() {
        ardeko::clsPW store;
        store.SetClock([] { return kToday + 0.7; });
        for (int offset = -3; offset <= 9; ++offset) {
            for (std::int16_t days : {0, 1, 5, 8}) {
                ardeko::T_Password p;
                p.blExpire = true;
                p.Dt_Expire = kToday + offset;
                p.ggNotExpire = days;
                const ardeko::clsPW::Due due = store.DueOf(p).expiry;
                const ardeko::clsPW::Due expected = ByDateLevel(
                    DateState(true, p.Dt_Expire, days, kToday), ardeko::clsPW::Due::Past,
                    ardeko::clsPW::Due::Near, ardeko::clsPW::Due::No);
                QVERIFY2(due == expected,
                         qPrintable(QStringLiteral("offset %1, days %2").arg(offset).arg(days)));
            }
        }
    }

    void picksTheCallersValue() {
        QCOMPARE(ByDateLevel(DateLevel::Alert, 'r', 'y', 'g'), 'r');
        QCOMPARE(ByDateLevel(DateLevel::Warning, 'r', 'y', 'g'), 'y');
        QCOMPARE(ByDateLevel(DateLevel::Normal, 'r', 'y', 'g'), 'g');
    }
};

QTEST_APPLESS_MAIN(TestDateState)
#include "tst_date_state.moc"
