// Random edits on two copies of one file, merged with and without the
// common version: no change made on one side only is lost, the result does
// not depend on which side is which, and merging a result again with
// either side, or with itself, changes nothing. Edits include renaming a
// category (on one side or both: that makes no entry a conflict) and
// creating one category on both sides. Seeded, so a failure names the trial
// that reproduces it.
#include "store/pw.h"

#include <QtTest>

#include <algorithm>
#include <map>
#include <random>
#include <set>

using namespace ardeko;

namespace {

constexpr int kTrials = 150; // each run with and without the common version
constexpr VbDate kBaseTime = 45000;

struct Change {
    std::string id; // of the entry, or of the category renamed
    enum Kind { Field, Rename, Move, Delete, Add, RenameCategory, AddInNewCategory } kind = Field;
    // The field's new value, the new name, the category's identifier (a
    // move), the category's new name.
    std::string value;
};

struct Side {
    clsPW store;
    std::vector<Change> changes;
    std::set<std::string> touched; // identifiers
};

const char* const kCats[] = {"Banks", "Mail", "Shops"};
// The category both sides may create, each with an identifier of its own.
const char* const kNewCategory = "Extra";

clsPW MakeBase(std::mt19937& rng) {
    clsPW s;
    s.NewFile();
    for (const char* c : kCats)
        s.CatAdd(c);
    const int count = std::uniform_int_distribution(20, 50)(rng);
    for (int i = 0; i < count; ++i) {
        T_Password p;
        p.service = "Entry " + std::to_string(i);
        p.Codcat = static_cast<std::int16_t>(1 + i % 3);
        p.User = "user" + std::to_string(i);
        p.pw = "pw" + std::to_string(i);
        p.Dt_Insert = p.Dt_Modif = kBaseTime;
        if (!s.PWAdd(p)) qFatal("cannot build the base");
    }
    return s;
}

const T_Password* ById(const clsPW& s, const std::string& id) {
    for (const T_Password& p : s.Password())
        if (p.Id == id) return &p;
    return nullptr;
}

const T_Categ* CategoryOf(const clsPW& s, std::int16_t code) {
    for (const T_Categ& c : s.Category())
        if (c.Codcat == code) return &c;
    return nullptr;
}

const T_Categ* CategoryById(const clsPW& s, const std::string& id) {
    for (const T_Categ& c : s.Category())
        if (c.Id == id) return &c;
    return nullptr;
}

// Renames one of the categories both sides started with, once a side.
void RenameCategory(Side& side, const std::string& mark, std::mt19937& rng) {
    const std::string former = kCats[std::uniform_int_distribution(0, 2)(rng)];
    const T_Categ* c = side.store.Category().Find(former);
    if (!c || side.touched.contains(c->Id)) return;
    const std::string id = c->Id;
    QVERIFY(side.store.CatRen(former, former + " " + mark));
    side.changes.push_back({id, Change::RenameCategory, former + " " + mark});
    side.touched.insert(id);
}

void AddEntry(Side& side, const std::string& mark, VbDate time, bool inNewCategory) {
    T_Password p;
    p.service = "New " + mark;
    p.Codcat = 1;
    if (inNewCategory) {
        if (!side.store.CatExist(kNewCategory)) QVERIFY(side.store.CatAdd(kNewCategory));
        p.Codcat = side.store.Category().Find(kNewCategory)->Codcat;
    }
    p.Dt_Insert = p.Dt_Modif = time;
    QVERIFY(side.store.PWAdd(p));
    side.changes.push_back({side.store.Password().Find(p.service)->Id,
                            inNewCategory ? Change::AddInNewCategory : Change::Add, p.service});
    side.touched.insert(side.changes.back().id);
}

// 2 to 12 random changes, each to an entry this side has not changed yet.
void EditSide(Side& side, const char tag, std::mt19937& rng, VbDate time) {
    const int count = std::uniform_int_distribution(2, 12)(rng);
    for (int n = 0; n < count; ++n) {
        std::vector<const T_Password*> free;
        for (const T_Password& p : side.store.Password())
            if (!side.touched.contains(p.Id)) free.push_back(&p);
        const int kind = std::uniform_int_distribution(0, 7)(rng);
        const std::string mark = std::string(1, tag) + std::to_string(n);
        time += 0.01;
        if (kind == 7) {
            RenameCategory(side, mark, rng);
            continue;
        }
        if (kind == 5 || kind == 6 || free.empty()) {
            AddEntry(side, mark, time, kind == 6);
            continue;
        }
        T_Password p = *free[std::uniform_int_distribution<std::size_t>(0, free.size() - 1)(rng)];
        side.touched.insert(p.Id);
        const std::string former = p.service;
        if (kind == 4) {
            QVERIFY(side.store.PWDel(former));
            side.changes.push_back({p.Id, Change::Delete, {}});
            continue;
        }
        Change c{p.Id, Change::Field, {}};
        if (kind == 0 || kind == 1) {
            (kind == 0 ? p.User : p.pw) = c.value = (kind == 0 ? "user " : "pw ") + mark;
        } else if (kind == 2) {
            c = {p.Id, Change::Rename, former + " " + mark};
            p.service = c.value;
        } else {
            const std::int16_t cat = static_cast<std::int16_t>(1 + (p.Codcat % 3));
            c = {p.Id, Change::Move, CategoryOf(side.store, cat)->Id};
            p.Codcat = cat;
        }
        p.Dt_Modif = time;
        QVERIFY(side.store.PWEdit(p, former));
        side.changes.push_back(c);
    }
}

// Every category and entry as one line, filed by names: what must not
// depend on codes.
QStringList Content(const clsPW& s) {
    QStringList lines;
    for (const T_Categ& c : s.Category())
        lines << QString::fromStdString("category " + c.DescrCat);
    for (const T_Password& p : s.Password())
        lines << QString::fromStdString(p.Id + "|" + p.service + "|" + s.CatValue(p.Codcat) + "|" +
                                        p.User + "|" + p.pw);
    lines.sort();
    return lines;
}

bool Holds(const T_Password& p, const Change& c, const clsPW& s) {
    const T_Categ* cat = CategoryOf(s, p.Codcat);
    switch (c.kind) {
    case Change::Field:
        return p.User == c.value || p.pw == c.value;
    case Change::Rename:
    case Change::Add:
        return p.service == c.value || p.service.starts_with(c.value + " (conflict");
    case Change::AddInNewCategory:
        return p.service == c.value && cat && cat->DescrCat == kNewCategory;
    case Change::Move:
        return cat && cat->Id == c.value;
    default:
        return false;
    }
}

// A category renamed on one side has its new name; renamed on both, one of
// the two. Two-way, which side renamed it cannot be told: it has one of
// its names (the summary names both), and it is still one category.
bool RenameKept(const clsPW& result, const Change& c, const Side& other, bool withBase) {
    const T_Categ* cat = CategoryById(result, c.id);
    if (!cat) return false;
    if (cat->DescrCat == c.value || !withBase) return true;
    return std::any_of(other.changes.begin(), other.changes.end(), [&](const Change& o) {
        return o.kind == Change::RenameCategory && o.id == c.id && o.value == cat->DescrCat;
    });
}

bool Deletes(const Side& side, const std::string& id) {
    return std::any_of(side.changes.begin(), side.changes.end(),
                       [&](const Change& c) { return c.id == id && c.kind == Change::Delete; });
}

// The change is in the result: in the entry itself or, changed on both
// sides, in the copy kept beside it. A deletion of an entry the other side
// left alone has carried over. Without the common version, a deletion
// made after the other side's change wins: nothing tells whether the
// deleting side had seen that change.
bool Kept(const clsPW& result, const Change& c, const Side& other, bool withBase) {
    if (c.kind == Change::RenameCategory) return RenameKept(result, c, other, withBase);
    if (c.kind == Change::Delete) return other.touched.contains(c.id) || !ById(result, c.id);
    if (!withBase && Deletes(other, c.id)) return true;
    for (const T_Password& p : result.Password()) {
        const bool copy = p.service.find(" (conflict ") != std::string::npos;
        if ((p.Id == c.id || copy) && Holds(p, c, result)) return true;
    }
    return false;
}

clsPW Merged(const clsPW* base, const clsPW& a, const clsPW& b) {
    clsPW r = a;
    MergeSummary summary;
    if (!r.Merge(base, b, summary)) qWarning("merge failed");
    return r;
}

// Conflict copies come only from entries both sides changed (two-way, that
// either changed): a category renamed makes none.
int Copies(const clsPW& s) {
    return static_cast<int>(std::count_if(s.Password().begin(), s.Password().end(), [](auto& p) {
        return p.service.find(" (conflict ") != std::string::npos;
    }));
}

int EntriesTouched(const Side& a, const Side& b, bool byBoth) {
    std::set<std::string> ids;
    for (const Side* side : {&a, &b})
        for (const std::string& id : side->touched)
            if (!CategoryById(side->store, id) &&
                (!byBoth || (a.touched.contains(id) && b.touched.contains(id))))
                ids.insert(id);
    return static_cast<int>(ids.size());
}

} // namespace

class TestMergeProperties : public QObject {
    Q_OBJECT

    void Trial(unsigned seed, bool withBase) {
        std::mt19937 rng(seed);
        const clsPW base = MakeBase(rng);
        Side a{base, {}, {}}, b{base, {}, {}};
        EditSide(a, 'a', rng, kBaseTime + 1);
        EditSide(b, 'b', rng, kBaseTime + 1.005);
        const clsPW* common = withBase ? &base : nullptr;
        const clsPW ab = Merged(common, a.store, b.store);
        const clsPW ba = Merged(common, b.store, a.store);
        QCOMPARE(Content(ab), Content(ba));
        QVERIFY(Copies(ab) <= EntriesTouched(a, b, withBase));
        QCOMPARE(int(ab.Category().Count()),
                 3 + int(a.store.CatExist(kNewCategory) || b.store.CatExist(kNewCategory)));
        for (const auto& [side, other] : {std::pair{&a, &b}, std::pair{&b, &a}})
            for (const Change& c : side->changes)
                if (!Kept(ab, c, *other, withBase))
                    QFAIL(qPrintable(QStringLiteral("change %1 of %2 (%3) lost")
                                         .arg(int(c.kind))
                                         .arg(QString::fromStdString(c.id))
                                         .arg(QString::fromStdString(c.value))));
        for (const clsPW* again : std::initializer_list<const clsPW*>{&a.store, &b.store, &ab})
            QCOMPARE(Content(Merged(common, ab, *again)), Content(ab));
        QCOMPARE(Content(Merged(nullptr, ab, ba)), Content(ab));
    }

private slots:
    void randomEditsOnBothSides_data() {
        QTest::addColumn<bool>("withBase");
        QTest::newRow("three-way") << true;
        QTest::newRow("two-way") << false;
    }
    void randomEditsOnBothSides() {
        QFETCH(bool, withBase);
        for (unsigned seed = 1; seed <= kTrials; ++seed) {
            Trial(seed, withBase);
            if (QTest::currentTestFailed()) {
                qWarning("failed in the trial of seed %u", seed);
                return;
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestMergeProperties)
#include "tst_merge_properties.moc"
