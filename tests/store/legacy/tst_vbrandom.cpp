// The generator against the published values of the runtime it reproduces.
#include "store/legacy/vbrandom.h"

#include <QtTest>
#include <bit>
#include <vector>

using ardeko::VbRandom;

namespace {
QString Printed(float v) {
    return QString::number(v, 'g', 7);
}

QStringList Draws(VbRandom& r, int n) {
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << Printed(r.Next());
    return out;
}
} // namespace

class TestVbRandom : public QObject {
    Q_OBJECT
private slots:
    void freshSequence() {
        VbRandom r;
        QCOMPARE(Draws(r, 5),
                 QStringList({"0.7055475", "0.533424", "0.5795186", "0.2895625", "0.301948"}));
        VbRandom full;
        for (int i = 0; i < 3; ++i)
            full.Next();
        QCOMPARE(full.Next(), 0.289562464f);

        VbRandom scaled;
        QStringList products;
        for (int i = 0; i < 4; ++i)
            products << Printed(20.0f * scaled.Next());
        QCOMPARE(products, QStringList({"14.11095", "10.66848", "11.59037", "5.791249"}));
    }

    void periodUntilZero() {
        VbRandom r;
        long n = 0;
        while (r.Next() != 0.0f)
            ++n;
        QCOMPARE(n, 6488063L);
    }

    void reseedFromNegative_data() {
        QTest::addColumn<float>("x");
        QTest::addColumn<QString>("printed");
        QTest::newRow("-1") << -1.0f << "0.224007";
        QTest::newRow("-10") << -10.0f << "0.3276443";
        QTest::newRow("-1.2345E38") << -1.2345E38f << "0.03195423";
        QTest::newRow("-8000000000") << -8000000000.0f << "0.7537669";
        QTest::newRow("-79.4") << -79.4f << "0.8288893";
        QTest::newRow("-44.48306") << -44.48306f << "0.5418172";
    }
    void reseedFromNegative() {
        QFETCH(float, x);
        QFETCH(QString, printed);
        VbRandom r;
        QCOMPARE(Printed(r.Reseed(x)), printed);
    }

    void reseedDetails() {
        VbRandom r;
        QCOMPARE(static_cast<double>(r.Reseed(-1.0f)), 0.2240070104598999);
        QCOMPARE(r.State() & 0xFFu, 0x86u);

        VbRandom exact;
        QCOMPARE(exact.Reseed(-1.2345E38f), 0.0319542289f);
        QCOMPARE(exact.Reseed(-79.4f), 0.828889251f);

        VbRandom back;
        back.Reseed(std::bit_cast<float>(0x8076F5C1u));
        QCOMPARE(back.State(), VbRandom::kFreshState);
    }

    void zeroRepeatsWithoutAdvancing() {
        VbRandom r;
        r.Next();
        r.Randomize(42);
        QCOMPARE(r.Rnd(0.0f), 0.251064479f);
        const auto before = r.State();
        r.Rnd(0.0f);
        QCOMPARE(r.State(), before);
    }

    void randomizeSequences_data() {
        QTest::addColumn<bool>("reseedFirst");
        QTest::addColumn<float>("first");
        QTest::addColumn<double>("mix");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Rnd(-10), Randomize 10")
            << true << -10.0f << 10.0 << QStringList{"0.2077829", "0.4407803", "0.6152623"};
        QTest::newRow("Randomize 0")
            << false << 0.0f << 0.0 << QStringList{"0.7641413", "0.3576428"};
        QTest::newRow("Rnd(-1), Randomize 1")
            << true << -1.0f << 1.0
            << QStringList{"0.3335753", "0.06816387", "0.5938293", "0.7660395",  "0.1892894",
                           "0.5373986", "0.3269944",  "0.393937",  "0.07341915", "0.8315425",
                           "0.854963",  "0.8288299",  "0.962344",  "0.8339574",  "0.09014982",
                           "0.6459745", "0.1927949",  "0.3469505", "0.1881334",  "0.691135"};
        QTest::newRow("Rnd(-1), Randomize 32")
            << true << -1.0f << 32.0
            << QStringList{"0.5799132", "0.5791502", "0.3108703",  "0.8649164", "0.1426585",
                           "0.9272912", "0.4073166", "0.4029702",  "0.2963195", "0.4128413",
                           "0.3610665", "0.5605193", "0.01727563", "0.9191625", "0.08453459",
                           "0.9128202", "0.6422578", "0.2485619",  "0.7332994", "0.305637"};
        QTest::newRow("Rnd(-1), Randomize 327680")
            << true << -1.0f << 327680.0
            << QStringList{"0.8827086", "0.733264",   "0.661029",  "0.3769404",  "0.9190868",
                           "0.6605065", "0.02017063", "0.1269082", "0.4370056",  "0.05328321",
                           "0.2522408", "0.4494964",  "0.6628445", "0.04495597", "0.5196542",
                           "0.1699613", "0.1833344",  "0.6878319", "0.2279894",  "0.3840672"};
    }
    void randomizeSequences() {
        QFETCH(bool, reseedFirst);
        QFETCH(float, first);
        QFETCH(double, mix);
        QFETCH(QStringList, expected);
        VbRandom r;
        if (reseedFirst) r.Reseed(first);
        r.Randomize(mix);
        QCOMPARE(Draws(r, static_cast<int>(expected.size())), expected);
    }

    void randomizeStateAfterZero() {
        VbRandom r;
        r.Randomize(0.0);
        r.Next();
        r.Next();
        QCOMPARE(r.State(), 6000250u);
    }

    void randomizeMixesWithoutReseeding() {
        VbRandom r;
        const std::vector<double> mixes = {-2E30, -0.003356, 0, 10.12345678901, 3.5356E99};
        const std::vector<float> expected = {0.970214844f, 0.755386353f, 0.0f, 0.496353149f,
                                             0.537506104f};
        for (std::size_t i = 0; i < mixes.size(); ++i) {
            r.Randomize(mixes[i]);
            QCOMPARE(r.Rnd(0.0f), expected[i]);
        }
    }

    void randomizeFromTimeOfDay() {
        VbRandom timer;
        timer.RandomizeFromSeconds(45296.789f);
        QCOMPARE(timer.State(), 0xB7FA00u);
        VbRandom number;
        number.Randomize(45296.789);
        QCOMPARE(number.State(), 0x5EFF00u);
    }

    // The integer shortcut must agree with the float product for every state.
    void integerRoundingMatchesTheProduct() {
        for (std::uint32_t s = 0; s < (1u << 24); ++s) {
            for (int factor : {254, 255}) {
                VbRandom a, b;
                a.SetState(s);
                b.SetState(s);
                if (a.NextRounded(factor) != ardeko::RoundProduct(b.Next(), factor))
                    QFAIL(qPrintable(QString("state %1 factor %2").arg(s).arg(factor)));
            }
        }
    }

    void roundingIsHalfToEven() {
        QCOMPARE(ardeko::RoundProduct(0.5f, 255), 128); // 127.5
        QCOMPARE(ardeko::RoundProduct(0.5f, 253), 126); // 126.5
        QCOMPARE(ardeko::RoundProduct(0.5f, 254), 127);
        QCOMPARE(ardeko::RoundProduct(0.0f, 255), 0);
    }
};

QTEST_APPLESS_MAIN(TestVbRandom)
#include "tst_vbrandom.moc"
