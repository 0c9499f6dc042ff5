// Two versions of a small store, edited and merged both ways: shared by the
// merge tests.
#pragma once

#include "store/pw.h"
#include "tests/store/store_samples.h"

#include <QStringList>
#include <QtTest>

#include <functional>

namespace merge_samples {

using namespace ardeko;

struct Codes {
    std::int16_t banks, mail, cards, work;
};

// FillSample's tree and entries under codes of one's choosing, as another
// machine would have numbered them; withIds: the categories and
// subcategories with identifiers, the same on every machine.
inline void FillSampleWith(clsPW& s, Codes c, bool withIds = false) {
    auto id = [withIds](char digit) { return withIds ? std::string(32, digit) : std::string(); };
    s.InsertCategory({c.banks, "Banks", false, id('1')});
    s.InsertCategory({c.mail, "Mail", true, id('2')});
    s.InsertSubCategory({c.cards, c.banks, "Cards", id('3')});
    s.InsertSubCategory({c.work, c.mail, "Work", id('4')});
    s.InsertPassword(SampleEntry("Bank A", c.banks, c.cards));
    s.InsertPassword(SampleEntry("Bank B", c.banks, 0));
    s.InsertPassword(SampleEntry("Mailbox", c.mail, c.work));
    s.InsertPassword(SampleEntry("Loose", 0, 0));
    s.AppendNode({"Banks", false});
    s.AppendNode({"Mail", true});
}

inline clsPW Sample(Codes c = {1, 2, 1, 2}, bool withIds = false) {
    clsPW s;
    FillSampleWith(s, c, withIds);
    return s;
}

inline clsPW IdentifiedSample(Codes c = {1, 2, 1, 2}) {
    return Sample(c, true);
}

inline void Edit(clsPW& s, const std::string& name, const std::function<void(T_Password&)>& change,
                 double modified) {
    T_Password p = *s.Password().Find(name);
    change(p);
    p.Dt_Modif = modified;
    QVERIFY(s.PWEdit(p, name));
}

inline void EditPw(clsPW& s, const std::string& name, const char* pw, double modified) {
    Edit(
        s, name, [pw](T_Password& p) { p.pw = pw; }, modified);
}

// One line per entry, filed by names: what a merge keeps, whatever codes.
inline QStringList Content(const clsPW& s) {
    QStringList lines;
    for (const T_Password& p : s.Password()) {
        const std::string sub = p.CodSCat ? s.SubCatValue(p.CodSCat) : "";
        lines << QString::fromStdString(p.service + "|" + s.CatValue(p.Codcat) + "|" + sub + "|" +
                                        p.User + "|" + p.pw + "|" + (p.Favourites ? "fav" : ""));
    }
    lines.sort();
    return lines;
}

inline QStringList Names(const std::vector<std::string>& names) {
    QStringList out;
    for (const std::string& n : names)
        out << QString::fromStdString(n);
    return out;
}

inline QStringList CategoryNames(const clsPW& s) {
    QStringList out;
    for (const T_Categ& c : s.Category())
        out << QString::fromStdString(c.DescrCat);
    return out;
}

struct Both {
    clsPW ab, ba;
    MergeSummary sab, sba;
};

// Merges a into b and b into a; both results must hold the same entries.
inline Both MergeBothWays(const clsPW* base, const clsPW& a, const clsPW& b) {
    Both r{a, b, {}, {}};
    const bool ok1 = r.ab.Merge(base, b, r.sab);
    const bool ok2 = r.ba.Merge(base, a, r.sba);
    if (!ok1 || !ok2) qWarning("merge failed");
    return r;
}

#define QCOMPARE_BOTH(r)                                                                           \
    do {                                                                                           \
        QCOMPARE(Content((r).ab), Content((r).ba));                                                \
        QCOMPARE(CategoryNames((r).ab), CategoryNames((r).ba));                                    \
    } while (0)

} // namespace merge_samples
