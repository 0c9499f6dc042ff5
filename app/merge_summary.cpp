#include "app/merge_summary.h"

#include "app/text_ids.h"
#include "frame/language.h"

#include <QStringList>

namespace qvs {

namespace {

// Conflicts are named one a line; beyond this many the list would not fit.
constexpr std::size_t kNamedConflicts = 8;

void AddCount(QStringList& lines, int textId, std::size_t count) {
    if (count > 0) lines << LocalTextWith(textId, QString::number(count));
}

QString Quoted(const std::string& name) {
    return QStringLiteral("\"%1\"").arg(QString::fromStdString(name));
}

const std::string& First(const ardeko::MergeConflict& c) {
    return c.service;
}
const std::string& Second(const ardeko::MergeConflict& c) {
    return c.copy;
}
const std::string& First(const ardeko::MergeNames& n) {
    return n.named;
}
const std::string& Second(const ardeko::MergeNames& n) {
    return n.other;
}

// The count, then the pairs of names, one a line.
template <class Pair>
void AddPairs(QStringList& lines, int textId, const std::vector<Pair>& pairs) {
    AddCount(lines, textId, pairs.size());
    for (std::size_t i = 0; i < pairs.size() && i < kNamedConflicts; ++i)
        lines << QStringLiteral("  %1 / %2").arg(Quoted(First(pairs[i])), Quoted(Second(pairs[i])));
    if (pairs.size() > kNamedConflicts) lines << QStringLiteral("  …");
}

} // namespace

QString MergeSummaryText(const ardeko::MergeSummary& s, const QString& from) {
    QStringList lines{LocalTextWith(text::kMergeHeading, from)};
    if (s.NothingFromTheirs()) lines << GetLocalText(text::kMergeNothing);
    AddCount(lines, text::kMergeAdded, s.theirs.added.size());
    AddCount(lines, text::kMergeChanged, s.theirs.changed.size());
    AddCount(lines, text::kMergeDeleted, s.theirs.deleted.size());
    AddCount(lines, text::kMergeCombined, s.combined.size());
    AddCount(lines, text::kMergeKept, s.keptChanged.size());
    // Without the common version a difference tells nothing of which side
    // made it: "changed on both sides" would be a guess.
    AddPairs(lines, s.threeWay ? text::kMergeConflicts : text::kMergeDiffering, s.conflicts);
    AddPairs(lines, text::kMergeCollisions, s.collisions);
    AddPairs(lines, text::kMergeRenamedPlaces, s.renamedPlaces);
    AddPairs(lines, text::kMergePlaceCollisions, s.placeCollisions);
    if (s.byName) lines << GetLocalText(text::kMergePairedByName);
    lines << GetLocalText(text::kMergeNotSaved);
    return lines.join(QLatin1Char('\n'));
}

} // namespace qvs
