// An entry's custom fields in a merge, paired by name: different fields
// added, changed or deleted on the two sides all come through without a
// conflict copy; one field changed differently on both sides is a conflict.
#include "store/merge/merge_entries.h"
#include "store/pw.h"
#include "tests/store/merge_samples.h"

#include <QtTest>

using namespace ardeko;
using namespace merge_samples;

namespace {

using Fields = std::vector<T_CustomField>;

void SetFields(clsPW& s, const std::string& name, Fields fields, double modified) {
    Edit(
        s, name, [&](T_Password& p) { p.Fields = std::move(fields); }, modified);
}

QStringList Shown(const Fields& fields) {
    QStringList out;
    for (const T_CustomField& f : fields)
        out << QString::fromStdString(f.name + "=" + f.value + (f.protect ? "*" : ""));
    return out;
}

// The merged fields in both orders, which must agree.
QStringList Merged(const Fields* base, const Fields& a, const Fields& b) {
    const auto ab = merge::MergeCustomFields(base, a, b);
    const auto ba = merge::MergeCustomFields(base, b, a);
    if (ab.has_value() != ba.has_value() || (ab && *ab != *ba)) return {"not symmetric"};
    return ab ? Shown(*ab) : QStringList{"conflict"};
}

const T_CustomField kUser{"User ID", "u1", false};
const T_CustomField kPin{"PIN", "1234", true};
const T_CustomField kAccount{"Account no.", "55", false};
const T_CustomField kCode{"Code", "c", false};

} // namespace

Q_DECLARE_METATYPE(Fields)

class TestMergeFields : public QObject {
    Q_OBJECT

private slots:
    void byNameThreeWay_data() {
        QTest::addColumn<Fields>("base");
        QTest::addColumn<Fields>("a");
        QTest::addColumn<Fields>("b");
        QTest::addColumn<QStringList>("merged");
        const T_CustomField user2{"User ID", "u2", false};
        const T_CustomField user3{"User ID", "u3", false};
        QTest::newRow("added on each side")
            << Fields{kUser} << Fields{kUser, kPin} << Fields{kUser, kAccount}
            << QStringList{"User ID=u1", "PIN=1234*", "Account no.=55"};
        QTest::newRow("changed on one side, added on the other")
            << Fields{kUser} << Fields{user2} << Fields{kUser, kPin}
            << QStringList{"User ID=u2", "PIN=1234*"};
        QTest::newRow("deleted on one side, left on the other")
            << Fields{kUser, kPin} << Fields{kUser} << Fields{kUser, kPin, kAccount}
            << QStringList{"User ID=u1", "Account no.=55"};
        QTest::newRow("deleted on one side, changed on the other")
            << Fields{kUser, kPin} << Fields{kPin} << Fields{user2, kPin}
            << QStringList{"User ID=u2", "PIN=1234*"};
        QTest::newRow("protection changed on one side")
            << Fields{kUser} << Fields{{"User ID", "u1", true}} << Fields{kUser, kCode}
            << QStringList{"User ID=u1*", "Code=c"};
        QTest::newRow("the same change on both")
            << Fields{kUser} << Fields{user2} << Fields{user2} << QStringList{"User ID=u2"};
        QTest::newRow("changed differently on both")
            << Fields{kUser} << Fields{user2} << Fields{user3} << QStringList{"conflict"};
        QTest::newRow("added on both with different values")
            << Fields{} << Fields{kPin} << Fields{{"PIN", "0000", true}} << QStringList{"conflict"};
        // One side reordered: its order, the other's addition after the field
        // it follows there.
        QTest::newRow("reordered on one side")
            << Fields{kUser, kPin, kAccount} << Fields{kAccount, kUser, kPin}
            << Fields{kUser, kCode, kPin, kAccount}
            << QStringList{"Account no.=55", "User ID=u1", "Code=c", "PIN=1234*"};
        QTest::newRow("two fields of one name")
            << Fields{kPin, kPin} << Fields{kPin, {"PIN", "2", true}} << Fields{kPin, kPin, kCode}
            << QStringList{"PIN=1234*", "PIN=2*", "Code=c"};
    }
    void byNameThreeWay() {
        QFETCH(Fields, base);
        QFETCH(Fields, a);
        QFETCH(Fields, b);
        QFETCH(QStringList, merged);
        QCOMPARE(Merged(&base, a, b), merged);
    }

    // Without the common version what either side has is kept; only one
    // name with two values is a conflict.
    void twoWayUnites() {
        QCOMPARE(Merged(nullptr, {kUser, kPin}, {kUser, kAccount}),
                 QStringList({"User ID=u1", "PIN=1234*", "Account no.=55"}));
        QCOMPARE(Merged(nullptr, {kUser}, {{"User ID", "x", false}}), QStringList{"conflict"});
    }

    // Through a whole merge: no conflict copy for fields added on both
    // sides, and the result merges again to itself.
    void entriesCombineTheirFields() {
        clsPW base = Sample();
        SetFields(base, "Bank A", {kUser}, 46000);
        clsPW mine = base, theirs = base;
        SetFields(mine, "Bank A", {kUser, kPin}, 46100);
        Edit(
            theirs, "Bank A",
            [](T_Password& p) {
                p.Fields.push_back(kAccount);
                p.pw = "theirs";
            },
            46200);
        // The same field changed on both sides: a conflict as any field.
        SetFields(mine, "Bank B", {{"User ID", "m", false}}, 46100);
        SetFields(theirs, "Bank B", {{"User ID", "t", false}}, 46200);

        Both r = MergeBothWays(&base, mine, theirs);
        QCOMPARE_BOTH(r);
        const T_Password& a = *r.ab.Password().Find("Bank A");
        QCOMPARE(Shown(a.Fields), QStringList({"User ID=u1", "PIN=1234*", "Account no.=55"}));
        QCOMPARE(a.Fields, r.ba.Password().Find("Bank A")->Fields);
        QCOMPARE(a.pw, std::string("theirs"));
        QCOMPARE(Names(r.sab.combined), QStringList{"Bank A"});
        QCOMPARE(Shown(r.ab.Password().Find("Bank B")->Fields), QStringList{"User ID=t"});
        QCOMPARE(r.sab.conflicts.size(), std::size_t(1));
        for (const clsPW* side : {&mine, &theirs, &r.ba}) {
            clsPW again = r.ab;
            MergeSummary s;
            QVERIFY(again.Merge(&base, *side, s));
            QCOMPARE(Content(again), Content(r.ab));
            QCOMPARE(again.Password().Find("Bank A")->Fields, a.Fields);
        }

        // Two-way, an entry that differs only in fields either side added is
        // one entry with all of them.
        clsPW one = base, other = base;
        SetFields(one, "Bank A", {kUser, kPin}, 46100);
        SetFields(other, "Bank A", {kCode, kUser}, 46200);
        Both two = MergeBothWays(nullptr, one, other);
        QCOMPARE_BOTH(two);
        QVERIFY(two.sab.conflicts.empty());
        QCOMPARE(two.ab.Password().Count(), base.Password().Count());
        QCOMPARE(Shown(two.ab.Password().Find("Bank A")->Fields),
                 QStringList({"Code=c", "User ID=u1", "PIN=1234*"}));
        QCOMPARE(two.ab.Password().Find("Bank A")->Fields,
                 two.ba.Password().Find("Bank A")->Fields);
    }
};

QTEST_APPLESS_MAIN(TestMergeFields)
#include "tst_merge_fields.moc"
