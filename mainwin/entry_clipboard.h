// The entry clipboard of the main window: one whole entry record, held for
// the whole run, that Paste proposes as a new entry in the entry editor. It
// keeps its copy when the entry is deleted afterwards, so a deleted entry can
// be brought back by pasting it.
#pragma once

#include "store/records.h"

#include <QString>

#include <optional>

namespace qvs {

class CategoryTree;

class EntryClipboard {
public:
    // Copies the record of service; false (the clipboard unchanged) when the
    // store has no such entry.
    bool Copy(const QString& service);
    // Copy, then delete the entry and show the node again; with a tree, its
    // numbers are counted again.
    bool Cut(const QString& service, CategoryTree* tree);
    // Opens the entry editor proposing the copied record; the editor asks
    // for the new name. Nothing happens before the first copy.
    void Paste() const;
    bool HasEntry() const { return record_.has_value(); }

private:
    std::optional<ardeko::T_Password> record_;
};

} // namespace qvs
