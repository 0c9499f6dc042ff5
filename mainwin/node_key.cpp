#include "mainwin/node_key.h"

#include <limits>

namespace qvs {
namespace {

// The code written at the start of text, read like the digits of a key: up
// to the first non-digit. No digits, or more than a code can hold, gives 0.
std::int16_t CodeAt(QStringView text) {
    qsizetype digits = 0;
    while (digits < text.size() && text[digits].isDigit() && text[digits].unicode() < 128)
        ++digits;
    bool ok = false;
    const int value = text.first(digits).toInt(&ok);
    if (!ok || value > std::numeric_limits<std::int16_t>::max()) return 0;
    return static_cast<std::int16_t>(value);
}

QChar KindOf(const QString& key) {
    return key.isEmpty() ? QChar(u'R') : key.front();
}

} // namespace

QString CategoryNodeKey(std::int16_t cat) {
    return QStringLiteral("C%1").arg(cat);
}

QString SubCategoryNodeKey(std::int16_t cat, std::int16_t scat) {
    return QStringLiteral("S%1C%2").arg(scat).arg(cat);
}

NodeCodes ParseNodeKey(const QString& key, bool anyFlag) {
    const std::int16_t none = anyFlag ? kAnyCode : 0;
    const QStringView view(key);
    switch (KindOf(key).unicode()) {
    case u'C':
        return {CodeAt(view.sliced(1)), none};
    case u'S': {
        const qsizetype c = key.indexOf(u'C');
        if (c < 0) return {0, CodeAt(view.sliced(1))};
        return {CodeAt(view.sliced(c + 1)), CodeAt(view.sliced(1, c - 1))};
    }
    default:
        return {none, none};
    }
}

NodeKind NodeKindOf(const QString& key) {
    switch (KindOf(key).unicode()) {
    case u'R':
        return NodeKind::Root;
    case u'P':
        return NodeKind::Favourites;
    case u'E':
    case u'X':
        return NodeKind::DueState;
    case u'C':
        return ParseNodeKey(key, false).cat == 0 ? NodeKind::NoCategory : NodeKind::Category;
    case u'S':
        return ParseNodeKey(key, false).scat == 0 ? NodeKind::NoSubCategory : NodeKind::SubCategory;
    default:
        return NodeKind::Unknown;
    }
}

} // namespace qvs
