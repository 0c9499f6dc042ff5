// Entry identifiers and deletion marks: given and kept by the store's
// operations, written by format 2, and carried through merges.
#include "store/entry_id.h"
#include "store/pw.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace ardeko {

std::optional<VbDate> clsPW::DeletedAt(const std::string& id) const {
    const auto it = std::find_if(deleted_.begin(), deleted_.end(),
                                 [&](const T_Deleted& d) { return d.Id == id; });
    if (it == deleted_.end()) return std::nullopt;
    return it->when;
}

bool clsPW::AllEntriesIdentified() const {
    return std::all_of(password_.begin(), password_.end(),
                       [](const T_Password& p) { return !p.Id.empty(); });
}

bool clsPW::AllCategoriesIdentified() const {
    return std::all_of(category_.begin(), category_.end(),
                       [](const T_Categ& c) { return !c.Id.empty(); }) &&
           std::all_of(subCategory_.begin(), subCategory_.end(),
                       [](const T_SCateg& s) { return !s.Id.empty(); });
}

void clsPW::PrepareIdentities() {
    password_.EditEach([](T_Password& p) {
        if (p.Id.empty()) p.Id = DerivedEntryId(p);
    });
    IdentifyCategories();
    const VbDate oldest = Now() - kDeletionMarkDays;
    std::erase_if(deleted_, [&](const T_Deleted& d) { return d.when < oldest; });
}

void clsPW::IdentifyCategories() {
    std::unordered_map<std::int16_t, std::string> categoryIds;
    category_.EditEach([&](T_Categ& c) {
        if (c.Id.empty()) c.Id = DerivedCategoryId(c);
        categoryIds.emplace(c.Codcat, c.Id);
    });
    subCategory_.EditEach([&](T_SCateg& s) {
        if (!s.Id.empty()) return;
        const auto cat = categoryIds.find(s.Codcat);
        s.Id = DerivedSubCategoryId(s, cat != categoryIds.end() ? cat->second
                                                                : std::to_string(s.Codcat));
    });
}

void clsPW::MarkDeleted(const T_Password& entry) {
    if (!entry.Id.empty()) deleted_.push_back({entry.Id, Now()});
}

void clsPW::MergeDeletionMarks(const clsPW& theirs) {
    std::unordered_map<std::string, VbDate> latest;
    for (const std::vector<T_Deleted>* marks : {&std::as_const(deleted_), &theirs.deleted_})
        for (const T_Deleted& d : *marks) {
            VbDate& when = latest[d.Id];
            when = std::max(when, d.when);
        }
    std::unordered_set<std::string> present;
    for (const T_Password& p : password_)
        if (!p.Id.empty()) present.insert(p.Id);
    deleted_.clear();
    for (const auto& [id, when] : latest)
        if (!present.contains(id)) deleted_.push_back({id, when});
    std::sort(deleted_.begin(), deleted_.end(),
              [](const T_Deleted& a, const T_Deleted& b) { return a.Id < b.Id; });
}

const std::string& clsPW::FileId() const {
    static const std::string none;
    return format_ == FileFormat::Two ? identity_.Id : none;
}

const std::string& clsPW::EnsureFileId() {
    if (format_ == FileFormat::Two && identity_.Id.empty()) identity_.Id = NewEntryId();
    return FileId();
}

void clsPW::MergeFileId(const clsPW& theirs) {
    // The file stays itself: another version's identifier only fills a gap.
    if (identity_.Id.empty()) identity_.Id = theirs.identity_.Id;
}

} // namespace ardeko
