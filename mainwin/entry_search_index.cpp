#include "mainwin/entry_search_index.h"

#include "frame/search_fold.h"
#include "store/pw.h"

#include <QStringMatcher>

namespace qvs {

namespace {

// Between fields, so that no typed text matches across two of them: a search
// box holds no control characters, and folding keeps this one.
constexpr char kFieldBreak = '\x1f';

// The fields are joined first and folded as one text: one conversion and
// one pass per entry.
QString Haystack(const ardeko::T_Password& p) {
    const std::string* fields[] = {&p.service,    &p.User,       &p.Email, &p.URL_Access,
                                   &p.URL_Change, &p.URL_Delete, &p.Descr};
    std::string joined;
    std::size_t size = 0;
    for (const std::string* field : fields)
        size += field->size() + 1;
    joined.reserve(size);
    for (const std::string* field : fields) {
        joined += *field;
        joined += kFieldBreak;
    }
    return FoldForSearch(QString::fromStdString(joined));
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
