#include "app/merge_summary.h"

#include "frame/language.h"

#include <QStringList>

namespace qvs {

namespace {

constexpr int kHeading = 34512;
constexpr int kAdded = 34513;
constexpr int kChanged = 34514;
constexpr int kDeleted = 34515;
constexpr int kCombined = 34516;
constexpr int kKept = 34517;
constexpr int kConflicts = 34518;
constexpr int kNothing = 34519;
constexpr int kNotSaved = 34520;
constexpr int kDiffering = 36015;
constexpr int kPairedByName = 36016;
constexpr int kCollisions = 36017;
constexpr int kRenamedPlaces = 37200;
constexpr int kPlaceCollisions = 37201;
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
    QStringList lines{LocalTextWith(kHeading, from)};
    if (s.NothingFromTheirs()) lines << GetLocalText(kNothing);
    AddCount(lines, kAdded, s.theirs.added.size());
    AddCount(lines, kChanged, s.theirs.changed.size());
    AddCount(lines, kDeleted, s.theirs.deleted.size());
    AddCount(lines, kCombined, s.combined.size());
    AddCount(lines, kKept, s.keptChanged.size());
    // Without the common version a difference tells nothing of which side
    // made it: "changed on both sides" would be a guess.
    AddPairs(lines, s.threeWay ? kConflicts : kDiffering, s.conflicts);
    AddPairs(lines, kCollisions, s.collisions);
    AddPairs(lines, kRenamedPlaces, s.renamedPlaces);
    AddPairs(lines, kPlaceCollisions, s.placeCollisions);
    if (s.byName) lines << GetLocalText(kPairedByName);
    lines << GetLocalText(kNotSaved);
    return lines.join(QLatin1Char('\n'));
}

} // namespace qvs
