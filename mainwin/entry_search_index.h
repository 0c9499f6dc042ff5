// The searchable text of every entry, folded once (store/search_fold.h) so
// that each keystroke of a search only scans prepared text. Searched are the
// service, user name, e-mail, the three web addresses and the notes; the
// password never, nor anything else that could give it away.
#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <vector>

namespace ardeko {
class clsPW;
}

namespace qvs {

class EntrySearchIndex {
public:
    // Positions in the store's Password collection, in store order.
    using Positions = std::vector<std::size_t>;

    // Folds the searched fields of every entry of store.
    void Build(const ardeko::clsPW& store);
    // The store changed: the next use has to build again.
    void Invalidate();
    // Built since the last Invalidate, from this store and file, and for as
    // many entries as it has.
    bool IsCurrentFor(const ardeko::clsPW& store) const;

    // The entries whose searched text contains folded (already folded with
    // FoldForSearch; empty finds nothing). With within, only those positions
    // are looked at: the results of a shorter text that folded extends.
    Positions Find(const QString& folded, const Positions* within = nullptr) const;

    std::size_t Size() const { return haystacks_.size(); }

private:
    std::vector<QString> haystacks_; // by store position
    bool built_ = false;
    const ardeko::clsPW* builtFrom_ = nullptr;
    std::string builtFile_;
};

} // namespace qvs
