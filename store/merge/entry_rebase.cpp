#include "store/merge/entry_rebase.h"

#include "store/codepage.h"
#include "store/merge/merge_entries.h"

#include <optional>
#include <utility>
#include <vector>

namespace ardeko {

namespace {

using namespace merge;

// Keeps the names alive while a view points at them.
struct View {
    explicit View(const PlacedEntry& e)
        : cat{e.cat, FoldKey(e.cat)}, sub{e.sub, FoldKey(e.sub)},
          view{&e.rec, e.cat.empty() ? nullptr : &cat,
               e.cat.empty() || e.sub.empty() ? nullptr : &sub} {}
    View(const View&) = delete;
    View& operator=(const View&) = delete;
    Named cat, sub;
    EntryView view;
};

void Apply(PlacedEntry& to, const PlacedEntry& from, const FieldMask& fields) {
    for (std::size_t i = 0; i < kFieldCount; ++i)
        if (fields[i] && i != kPlaceField && i != kSubField) CopyField(to.rec, from.rec, i);
    if (fields[kPlaceField]) {
        to.cat = from.cat;
        to.sub = from.sub;
    }
}

} // namespace

RebasedEdit RebaseEdit(const PlacedEntry& opened, const PlacedEntry& shown,
                       const PlacedEntry& edited, const PlacedEntry& current,
                       std::size_t historyLimit) {
    const View o(opened), s(shown), e(edited), c(current);
    FieldMask mine = Diff(s.view, e.view);
    FieldMask theirs = Diff(o.view, c.view);
    mine.reset(kModifiedField);
    theirs.reset(kModifiedField);
    FieldMask clash = mine & theirs & Diff(e.view, c.view);
    // Extra fields pair by name, as in a merge: different fields changed on
    // the two sides are no clash.
    std::optional<std::vector<T_CustomField>> fields;
    if (clash[kCustomFieldsField] &&
        (fields = MergeCustomFields(&shown.rec.Fields, edited.rec.Fields, current.rec.Fields)))
        clash.reset(kCustomFieldsField);

    RebasedEdit out;
    out.changedSinceOpened = theirs.any() || opened.rec.History != current.rec.History;
    out.theirsOnClash = current;
    Apply(out.theirsOnClash, edited, mine & ~clash);
    if (fields) out.theirsOnClash.rec.Fields = std::move(*fields);
    out.mineOnClash = out.theirsOnClash;
    Apply(out.mineOnClash, edited, clash);
    const auto history =
        MergeHistory(&opened.rec.History, edited.rec.History, current.rec.History, historyLimit);
    out.theirsOnClash.rec.History = out.mineOnClash.rec.History = history;
    for (std::size_t i = 0; i < kFieldCount; ++i)
        if (clash[i] && i != kSubField)
            out.clashes.push_back(i == kPlaceField ? Field::CategoryName
                                                   : FieldOfName(FieldName(i)));
    return out;
}

} // namespace ardeko
