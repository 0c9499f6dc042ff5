#include "store/export/export_plan.h"

#include "store/export/export_fields.h"
#include "store/pw.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <utility>

namespace ardeko {

namespace {

// Where categories and subcategories stand in the store's lists. An entry
// whose category (or subcategory) is unknown counts as having none, so it is
// still written.
class Positions {
public:
    explicit Positions(const clsPW& store) : store_(store) {
        for (std::size_t i = 0; i < store.Category().Count(); ++i)
            category_[store.Category()[i].Codcat] = int(i);
        for (std::size_t i = 0; i < store.SubCategory().Count(); ++i)
            sub_[store.SubCategory()[i].CodSCat] = int(i);
    }
    int Category(std::int16_t code) const { return Find(category_, code); }
    int Sub(std::int16_t code) const { return Find(sub_, code); }
    // The subcategory of an entry, only when it belongs to the entry's category.
    int SubOf(const T_Password& p) const {
        const int sub = Sub(p.CodSCat);
        return sub >= 0 && store_.SubCategory()[std::size_t(sub)].Codcat == p.Codcat ? sub : -1;
    }
    std::pair<int, int> Key(const T_Password& p) const {
        const int cat = Category(p.Codcat);
        return {cat, cat < 0 ? -1 : SubOf(p)};
    }

private:
    static int Find(const std::unordered_map<std::int16_t, int>& in, std::int16_t code) {
        const auto it = in.find(code);
        return code == 0 || it == in.end() ? -1 : it->second;
    }
    const clsPW& store_;
    std::unordered_map<std::int16_t, int> category_, sub_;
};

bool Contains(const std::vector<std::string>& list, const std::string& s) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

std::vector<std::string> Captions(const ExportRequest& choice) {
    std::vector<std::string> captions{std::string(kServiceCaption)};
    for (const std::string& field : choice.fields)
        if (Contains(FieldCaptions(), field) && !Contains(captions, field))
            captions.push_back(field);
    if (choice.history) captions.emplace_back(kHistoryCaption);
    if (choice.notes) captions.emplace_back(kNotesCaption);
    return captions;
}

std::string Name(const std::string& name, std::string_view none) {
    return name.empty() ? std::string(none) : name;
}

// The groups in the order they are written, keyed by (category position,
// subcategory position); -1 stands for none. Groups that must appear even
// without entries are made here; the others when an entry needs them.
class GroupBuilder {
public:
    GroupBuilder(const clsPW& store, const ExportRequest& choice)
        : store_(store), choice_(choice), positions_(store) {}

    std::vector<ExportGroup> Build(const std::vector<const T_Password*>& ordered,
                                   const std::vector<std::string>& captions) {
        std::map<std::pair<int, int>, std::vector<const T_Password*>> byKey;
        for (const T_Password* p : ordered)
            byKey[GroupKey(*p)].push_back(p);
        std::vector<ExportGroup> groups;
        for (const auto& key : Keys(byKey)) {
            ExportGroup group = Describe(key);
            for (const T_Password* p : byKey[key]) {
                std::vector<std::string> row;
                row.reserve(captions.size());
                for (const std::string& caption : captions)
                    row.push_back(FieldValue(store_, *p, caption));
                group.rows.push_back(std::move(row));
            }
            groups.push_back(std::move(group));
        }
        return groups;
    }

private:
    std::pair<int, int> GroupKey(const T_Password& p) const {
        const auto [cat, sub] = positions_.Key(p);
        if (choice_.grouping == kGroupNone) return {-1, -1};
        return {cat, choice_.grouping == kGroupCategory ? -1 : sub};
    }

    // Every key to write, in order: the groups with entries plus the empty
    // ones asked for. Entries without category come first, as in the order
    // by category.
    template <class Map> std::vector<std::pair<int, int>> Keys(const Map& byKey) const {
        std::vector<std::pair<int, int>> keys;
        if (choice_.grouping == kGroupNone) return {{-1, -1}};
        for (const auto& [key, entries] : byKey)
            keys.push_back(key);
        const auto& cats = store_.Category();
        const auto& subs = store_.SubCategory();
        for (std::size_t c = 0; c < cats.Count(); ++c) {
            if (choice_.grouping == kGroupCategory && choice_.emptyCategories)
                keys.emplace_back(int(c), -1);
            if (choice_.grouping != kGroupSubCategory || !choice_.emptySubCategories) continue;
            for (std::size_t s = 0; s < subs.Count(); ++s)
                if (subs[s].Codcat == cats[c].Codcat) keys.emplace_back(int(c), int(s));
        }
        // Positions follow the store's order; -1 (none) sorts first.
        std::sort(keys.begin(), keys.end());
        keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
        return keys;
    }

    ExportGroup Describe(const std::pair<int, int>& key) const {
        ExportGroup group;
        if (choice_.grouping == kGroupNone) return group;
        const std::string cat =
            key.first < 0 ? std::string(kNoCategory)
                          : Name(store_.Category()[std::size_t(key.first)].DescrCat, kNoCategory);
        group.heading = "Category: " + cat;
        group.nameSuffix = "." + cat;
        if (choice_.grouping == kGroupSubCategory) {
            const std::string sub =
                key.second < 0
                    ? std::string(kNoSubCategory)
                    : Name(store_.SubCategory()[std::size_t(key.second)].DescrSCat, kNoSubCategory);
            group.heading += " - SubCategory: " + sub;
            group.nameSuffix += "." + sub;
        }
        return group;
    }

    const clsPW& store_;
    const ExportRequest& choice_;
    Positions positions_;
};

std::vector<std::size_t> Widths(const clsPW& store, const std::vector<std::string>& captions,
                                const std::vector<ExportGroup>& groups) {
    std::vector<std::size_t> widths(captions.size(), 0);
    auto fit = [&](std::size_t column, std::string_view text) {
        widths[column] = std::max(widths[column], CharacterCount(text));
    };
    for (std::size_t column = 0; column < captions.size(); ++column) {
        const std::string& caption = captions[column];
        if (caption == "Category") {
            fit(column, kNoCategory);
            for (std::size_t i = 0; i < store.Category().Count(); ++i)
                fit(column, store.Category()[i].DescrCat);
        } else if (caption == "Sub Category") {
            fit(column, kNoSubCategory);
            for (std::size_t i = 0; i < store.SubCategory().Count(); ++i)
                fit(column, store.SubCategory()[i].DescrSCat);
        } else if (caption.ends_with(" Flag")) {
            fit(column, "FALSE");
        }
    }
    for (const ExportGroup& group : groups)
        for (const auto& row : group.rows)
            for (std::size_t column = 0; column < row.size(); ++column)
                fit(column, OneLine(row[column]));
    for (std::size_t& width : widths)
        width += 2;
    return widths;
}

} // namespace

std::vector<const T_Password*> OrderedEntries(const clsPW& store, int order) {
    std::vector<const T_Password*> entries;
    for (std::size_t i = 0; i < store.Password().Count(); ++i)
        entries.push_back(&store.Password()[i]);
    if (order == kOrderService) return entries;
    const Positions positions(store);
    auto rank = [&](const T_Password* p) {
        if (order == kOrderCategory) return positions.Key(*p);
        return std::pair(positions.Sub(p->CodSCat), 0);
    };
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const T_Password* a, const T_Password* b) { return rank(a) < rank(b); });
    return entries;
}

ExportPlan MakePlan(const clsPW& store, const ExportRequest& choice) {
    ExportPlan plan;
    plan.captions = Captions(choice);
    for (const std::string& caption : plan.captions) {
        const auto label = choice.labels.find(caption);
        plan.labels.push_back(label == choice.labels.end() ? caption : label->second);
    }
    plan.groups =
        GroupBuilder(store, choice).Build(OrderedEntries(store, choice.order), plan.captions);
    plan.widths = Widths(store, plan.captions, plan.groups);
    static const char* const words[] = {"File", "Category", "SubCategory"};
    plan.emptyWord = words[std::clamp(choice.grouping, 0, 2)];
    for (const ExportGroup& group : plan.groups)
        plan.entryCount += int(group.rows.size());
    return plan;
}

} // namespace ardeko
