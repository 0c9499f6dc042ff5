// An ordered collection with unique, case-insensitive keys, as the store's
// four record lists need: insert before a position or append, look up by key
// or position, remove by key. Lookups by key use a hash index; items are held
// by pointer so an insert in the middle moves pointers, not records. A
// record's name (for name order) comes from RecordName(const T&), found by
// argument-dependent lookup, so no collection can lack it.
#pragma once

#include "store/codepage.h"
#include "store/errors.h"

#include <algorithm>
#include <atomic>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace ardeko {

template <class T> class KeyedCollection {
    struct Item {
        template <class U>
        Item(std::string&& k, U&& v) : key(std::move(k)), value(std::forward<U>(v)) {}
        std::string key;
        T value;
    };

public:
    // Bytes of one item's allocation, for whoever fills a collection from
    // records it allocated itself (see ItemSizedAllocator in codec.h).
    static constexpr std::size_t kItemBytes = sizeof(Item);

    // Name ordering is ordinal over code points; UTF-8 byte order is the same.
    KeyedCollection() = default;
    KeyedCollection(const KeyedCollection& other) { CopyFrom(other); }
    KeyedCollection& operator=(const KeyedCollection& other) {
        if (this != &other) CopyFrom(other);
        return *this;
    }
    KeyedCollection(KeyedCollection&&) noexcept = default;
    KeyedCollection& operator=(KeyedCollection&&) noexcept = default;

    std::size_t Count() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }
    // Changes with every change of the items (one count for all collections
    // of a kind, never given twice): whoever keeps something derived from
    // them (an index) knows when to build it again without looking at each.
    std::uint64_t Revision() const { return revision_; }
    // 0-based position.
    const T& operator[](std::size_t i) const { return items_[i]->value; }
    const std::string& KeyAt(std::size_t i) const { return items_[i]->key; }

    const T* Find(std::string_view key) const {
        const auto it = index_.find(FoldKey(key));
        return it == index_.end() ? nullptr : &it->second->value;
    }
    bool Contains(std::string_view key) const { return Find(key) != nullptr; }

    // Inserts before position pos (Count() appends). Returns 0 or the
    // duplicate-key error.
    // Items are taken by forwarding: a record moved in is moved once, not
    // once per call it passes through (a large store loads noticeably faster).
    template <class U = T>
    requires std::same_as<std::remove_cvref_t<U>, T>
    int InsertAt(std::string key, U&& item, std::size_t pos) {
        // One lookup both refuses a duplicate and makes the index entry.
        const auto [slot, added] = index_.try_emplace(FoldKey(key), nullptr);
        if (!added) return Code(StoreError::DuplicateKey);
        Changed();
        pos = std::min(pos, items_.size());
        auto owned = std::make_unique<Item>(std::move(key), std::forward<U>(item));
        if (ordered_ && !FitsOrderAt(owned->value, pos)) ordered_ = false;
        slot->second = owned.get();
        items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(owned));
        return 0;
    }
    template <class U = T>
    requires std::same_as<std::remove_cvref_t<U>, T>
    int Append(std::string key, U&& item) {
        return InsertAt(std::move(key), std::forward<U>(item), items_.size());
    }

    // Inserts before the first item whose name is greater (ordinal), as the
    // store's insert helpers require. While the collection is known to be in
    // name order the position is found by binary search, else by walking.
    template <class U = T>
    requires std::same_as<std::remove_cvref_t<U>, T>
    int InsertByName(std::string key, U&& item) {
        const std::size_t pos = FirstGreaterPosition(NameOf(item));
        return InsertAt(std::move(key), std::forward<U>(item), pos);
    }

    // Inserts every item as InsertByName would one by one, or none: a key
    // already present, or twice among the items, refuses them all (bad is
    // then its position in items). While the collection is in name order it
    // is merged in one pass, so a large batch does not move the list once per
    // item.
    int InsertAllByName(std::vector<std::pair<std::string, T>> items, std::size_t& bad) {
        std::unordered_map<std::string, std::size_t> keys;
        keys.reserve(items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            std::string folded = FoldKey(items[i].first);
            if (index_.contains(folded) || !keys.emplace(std::move(folded), i).second) {
                bad = i;
                return Code(StoreError::DuplicateKey);
            }
        }
        Changed();
        if (!ordered_) {
            for (auto& [key, item] : items)
                InsertByName(std::move(key), std::move(item));
            return 0;
        }
        MergeByName(std::move(items));
        return 0;
    }

    int Remove(std::string_view key) {
        const auto it = index_.find(FoldKey(key));
        if (it == index_.end()) return Code(StoreError::InvalidCall);
        Changed();
        const Item* target = it->second;
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(PositionOf(target)));
        index_.erase(it);
        return 0;
    }

    // Removes every item matching pred, keeping the order of the rest; one
    // pass, whatever the number removed. Returns the number removed.
    template <class Pred> std::size_t RemoveIf(Pred pred) {
        Changed();
        const auto keep = std::stable_partition(
            items_.begin(), items_.end(), [&](const auto& item) { return !pred(item->value); });
        const auto removed = static_cast<std::size_t>(items_.end() - keep);
        for (auto it = keep; it != items_.end(); ++it)
            index_.erase(FoldKey((*it)->key));
        items_.erase(keep, items_.end());
        return removed;
    }

    // Moves every item matching pred to the end, in their present order, and
    // lets change edit each (never its name: the key stays). The same order
    // as removing and appending them one by one, in one pass.
    template <class Pred, class Change> std::size_t MoveToEndIf(Pred pred, Change change) {
        Changed();
        const auto moved = std::stable_partition(
            items_.begin(), items_.end(), [&](const auto& item) { return !pred(item->value); });
        const auto count = static_cast<std::size_t>(items_.end() - moved);
        for (auto it = moved; it != items_.end(); ++it)
            change((*it)->value);
        if (count > 0) ordered_ = ordered_ && IsInNameOrder();
        return count;
    }

    // Lets change edit every item in place (never its name: the key stays).
    template <class Change> void EditEach(Change change) {
        Changed();
        for (auto& item : items_)
            change(item->value);
    }

    // Lets change edit the item with this key in place (never its name);
    // false when there is none.
    template <class Change> bool EditOne(std::string_view key, Change change) {
        const auto it = index_.find(FoldKey(key));
        if (it == index_.end()) return false;
        Changed();
        change(it->second->value);
        return true;
    }

    // Room for n items, so that filling a collection from a file does not regrow it.
    void Reserve(std::size_t n) {
        items_.reserve(n);
        index_.reserve(n);
    }

    void Clear() {
        Changed();
        items_.clear();
        index_.clear();
        ordered_ = true;
    }

    bool InNameOrder() const { return ordered_; }

    class const_iterator {
    public:
        using inner = typename std::vector<std::unique_ptr<Item>>::const_iterator;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using reference = const T&;
        using pointer = const T*;
        using iterator_category = std::forward_iterator_tag;
        const_iterator() = default;
        explicit const_iterator(inner it) : it_(it) {}
        const T& operator*() const { return (*it_)->value; }
        const T* operator->() const { return &(*it_)->value; }
        const_iterator& operator++() {
            ++it_;
            return *this;
        }
        const_iterator operator++(int) {
            auto copy = *this;
            ++it_;
            return copy;
        }
        bool operator==(const const_iterator&) const = default;

    private:
        inner it_{};
    };
    const_iterator begin() const { return const_iterator(items_.begin()); }
    const_iterator end() const { return const_iterator(items_.end()); }

private:
    static const std::string& NameOf(const T& value) { return RecordName(value); }
    void Changed() {
        static std::atomic<std::uint64_t> last{0};
        revision_ = ++last;
    }

    std::size_t FirstGreaterPosition(const std::string& name) const {
        if (ordered_) {
            const auto it =
                std::upper_bound(items_.begin(), items_.end(), name,
                                 [](const std::string& n, const std::unique_ptr<Item>& item) {
                                     return n < NameOf(item->value);
                                 });
            return static_cast<std::size_t>(it - items_.begin());
        }
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (NameOf(items_[i]->value) > name) return i;
        return items_.size();
    }

    // Keys known to be new; equal names keep the order of items, after the
    // items already here, as inserting them one by one would.
    void MergeByName(std::vector<std::pair<std::string, T>> items) {
        std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) {
            return NameOf(a.second) < NameOf(b.second);
        });
        std::vector<std::unique_ptr<Item>> merged;
        merged.reserve(items_.size() + items.size());
        auto old = items_.begin();
        for (auto& [key, item] : items) {
            while (old != items_.end() && !(NameOf(item) < NameOf((*old)->value)))
                merged.push_back(std::move(*old++));
            auto owned = std::make_unique<Item>(std::move(key), std::move(item));
            index_.emplace(FoldKey(owned->key), owned.get());
            merged.push_back(std::move(owned));
        }
        std::move(old, items_.end(), std::back_inserter(merged));
        items_ = std::move(merged);
    }

    bool IsInNameOrder() const {
        return std::is_sorted(items_.begin(), items_.end(), [](const auto& a, const auto& b) {
            return NameOf(a->value) < NameOf(b->value);
        });
    }

    bool FitsOrderAt(const T& value, std::size_t pos) const {
        const std::string& name = NameOf(value);
        // Equal names are allowed (subcategories of different categories).
        if (pos > 0 && name < NameOf(items_[pos - 1]->value)) return false;
        return pos == items_.size() || !(NameOf(items_[pos]->value) < name);
    }

    std::size_t PositionOf(const Item* target) const {
        if (ordered_) {
            const std::string& name = NameOf(target->value);
            const auto it =
                std::lower_bound(items_.begin(), items_.end(), name,
                                 [](const std::unique_ptr<Item>& item, const std::string& n) {
                                     return NameOf(item->value) < n;
                                 });
            for (auto at = it; at != items_.end() && NameOf((*at)->value) == name; ++at)
                if (at->get() == target) return static_cast<std::size_t>(at - items_.begin());
        }
        const auto it =
            std::find_if(items_.begin(), items_.end(), [target](const std::unique_ptr<Item>& item) {
                return item.get() == target;
            });
        return static_cast<std::size_t>(it - items_.begin());
    }

    void CopyFrom(const KeyedCollection& other) {
        Clear();
        ordered_ = other.ordered_;
        items_.reserve(other.items_.size());
        for (const auto& item : other.items_) {
            auto owned = std::make_unique<Item>(*item);
            index_.emplace(FoldKey(owned->key), owned.get());
            items_.push_back(std::move(owned));
        }
    }

    std::vector<std::unique_ptr<Item>> items_;
    std::unordered_map<std::string, Item*> index_;
    bool ordered_ = true;
    std::uint64_t revision_ = 0;
};

} // namespace ardeko
