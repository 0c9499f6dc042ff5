// Plain-text views of a data file: the category tree and the entries whose
// dates need attention. Every entry appears, wherever its codes point.
#include "cli/commands.h"

#include "store/pw.h"

#include <iostream>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace qvs {

namespace {

using ardeko::clsPW;
using ardeko::T_Password;
using Codes = std::pair<std::int16_t, std::int16_t>; // category, subcategory

std::map<Codes, std::vector<const T_Password*>> EntriesByCodes(const clsPW& store) {
    std::map<Codes, std::vector<const T_Password*>> groups;
    for (const T_Password& p : store.Password())
        groups[{p.Codcat, p.CodSCat}].push_back(&p);
    return groups;
}

void PrintEntries(const std::vector<const T_Password*>& entries, const char* indent) {
    for (const T_Password* p : entries)
        std::cout << indent << p->service << '\n';
}

// Entries of category cat that no subcategory of it claims (none, or one that
// is not there), printed under the category itself.
void PrintUnfiled(std::map<Codes, std::vector<const T_Password*>>& groups, std::int16_t cat,
                  const std::set<Codes>& subcategories, const char* indent) {
    for (auto it = groups.lower_bound({cat, INT16_MIN});
         it != groups.end() && it->first.first == cat;) {
        if (subcategories.contains(it->first)) {
            ++it;
            continue;
        }
        PrintEntries(it->second, indent);
        it = groups.erase(it);
    }
}

} // namespace

int RunList(const Options& options) {
    clsPW store;
    if (auto code = OpenStore(options, store, nullptr, ardeko::EntryTexts::NamesAndPlaces))
        return *code;
    auto groups = EntriesByCodes(store);
    std::set<Codes> subcategories;
    for (const auto& s : store.SubCategory())
        subcategories.insert({s.Codcat, s.CodSCat});

    for (const auto& c : store.Category()) {
        std::cout << c.DescrCat << "/\n";
        for (const auto& s : store.SubCategory()) {
            if (s.Codcat != c.Codcat) continue;
            std::cout << "  " << s.DescrSCat << "/\n";
            if (auto it = groups.find({c.Codcat, s.CodSCat}); it != groups.end()) {
                PrintEntries(it->second, "    ");
                groups.erase(it);
            }
        }
        PrintUnfiled(groups, c.Codcat, subcategories, "  ");
    }
    // What is left points at no category, or at one that is gone.
    std::map<std::int16_t, std::vector<const T_Password*>> rest;
    for (const auto& [codes, entries] : groups)
        rest[codes.first].insert(rest[codes.first].end(), entries.begin(), entries.end());
    for (const auto& [cat, entries] : rest) {
        std::cout << (cat == 0 ? std::string("(no category)")
                               : "(unknown category " + std::to_string(cat) + ")")
                  << "/\n";
        PrintEntries(entries, "  ");
    }
    return std::cout ? kExitOk : Fail("cannot write to standard output");
}

namespace {

void PrintDue(const T_Password& p, clsPW::Due due, double date, const char* past,
              const char* near) {
    if (due == clsPW::Due::No) return;
    std::cout << p.service << '\t' << (due == clsPW::Due::Past ? past : near) << '\t'
              << IsoDate(date) << '\n';
}

} // namespace

int RunExpiring(const Options& options) {
    clsPW store;
    if (auto code = OpenStore(options, store, nullptr, ardeko::EntryTexts::NamesOnly)) return *code;
    for (const T_Password& p : store.Password()) {
        const clsPW::DueStatus due = store.DueOf(p);
        PrintDue(p, due.expiry, p.Dt_Expire, "expired", "expires soon");
        PrintDue(p, due.change, p.Dt_Change, "change due", "change soon");
    }
    return std::cout ? kExitOk : Fail("cannot write to standard output");
}

} // namespace qvs
