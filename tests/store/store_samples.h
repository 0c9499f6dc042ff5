// Small stores and records shared by the store tests.
#pragma once

#include "store/pw.h"

#include <vector>

inline ardeko::T_Password SampleEntry(const std::string& name, std::int16_t cat = 0,
                                      std::int16_t scat = 0) {
    ardeko::T_Password p;
    p.service = name;
    p.Codcat = cat;
    p.CodSCat = scat;
    p.User = "user of " + name;
    p.pw = "pw-" + name;
    p.URL_Access = "https://example.org/" + name;
    p.Dt_Insert = 46000;
    p.Dt_Modif = 46001;
    return p;
}

// Two categories with a subcategory each, four entries, two tree nodes.
inline void FillSample(ardeko::clsPW& s) {
    s.InsertCategory({1, "Banks", false});
    s.InsertCategory({2, "Mail", true});
    s.InsertSubCategory({1, 1, "Cards"});
    s.InsertSubCategory({2, 2, "Work"});
    s.InsertPassword(SampleEntry("Bank A", 1, 1));
    s.InsertPassword(SampleEntry("Bank B", 1, 0));
    s.InsertPassword(SampleEntry("Mailbox", 2, 2));
    s.InsertPassword(SampleEntry("Loose", 0, 0));
    s.AppendNode({"Banks", false});
    s.AppendNode({"Mail", true});
}

template <class R> std::vector<R> Items(const ardeko::KeyedCollection<R>& c) {
    return std::vector<R>(c.begin(), c.end());
}
