#include "mainwin/entry_search_index.h"

#include "store/pw.h"
#include "store/search_fold.h"

#include <QStringMatcher>

namespace qvs {

namespace {

QString Haystack(const ardeko::T_Password& p) {
    return QString::fromStdString(ardeko::EntrySearchText(p));
}

} // namespace

void EntrySearchIndex::Build(const ardeko::clsPW& store) {
    const ardeko::PasswordCollection& entries = store.Password();
    haystacks_.clear();
    haystacks_.reserve(entries.Count());
    for (std::size_t i = 0; i < entries.Count(); ++i)
        haystacks_.push_back(Haystack(entries[i]));
    built_ = true;
    builtFrom_ = &store;
    builtFile_ = store.Filename();
}

void EntrySearchIndex::Invalidate() {
    built_ = false;
    haystacks_.clear();
}

bool EntrySearchIndex::IsCurrentFor(const ardeko::clsPW& store) const {
    return built_ && builtFrom_ == &store && builtFile_ == store.Filename() &&
           haystacks_.size() == store.Password().Count();
}

EntrySearchIndex::Positions EntrySearchIndex::Find(const QString& folded,
                                                   const Positions* within) const {
    Positions found;
    if (folded.isEmpty()) return found;
    const QStringMatcher matcher(folded, Qt::CaseSensitive);
    auto test = [&](std::size_t at) {
        if (at < haystacks_.size() && matcher.indexIn(haystacks_[at]) >= 0) found.push_back(at);
    };
    if (within) {
        for (std::size_t at : *within)
            test(at);
    } else {
        found.reserve(haystacks_.size());
        for (std::size_t at = 0; at < haystacks_.size(); ++at)
            test(at);
    }
    return found;
}

} // namespace qvs
