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

NodeRef ReadNodeKey(const QString& key) {
    const QStringView view(key);
    switch (KindOf(key).unicode()) {
    case u'R':
        return {NodeKind::Root, {}};
    case u'P':
        return {NodeKind::Favourites, {}};
    case u'E':
    case u'X':
        return {NodeKind::DueState, {}};
    case u'C': {
        const NodeCodes codes{CodeAt(view.sliced(1)), 0};
        return {codes.cat == 0 ? NodeKind::NoCategory : NodeKind::Category, codes};
    }
    case u'S': {
        const qsizetype c = key.indexOf(u'C');
        const NodeCodes codes =
            c < 0 ? NodeCodes{0, CodeAt(view.sliced(1))}
                  : NodeCodes{CodeAt(view.sliced(c + 1)), CodeAt(view.sliced(1, c - 1))};
        return {codes.scat == 0 ? NodeKind::NoSubCategory : NodeKind::SubCategory, codes};
    }
    default:
        return {NodeKind::Unknown, {}};
    }
}

NodeCodes NodeRef::WithAny() const {
    switch (kind) {
    case NodeKind::Category:
    case NodeKind::NoCategory:
        return {codes.cat, kAnyCode};
    case NodeKind::SubCategory:
    case NodeKind::NoSubCategory:
        return codes;
    default:
        return {kAnyCode, kAnyCode};
    }
}

NodeCodes ParseNodeKey(const QString& key, bool anyFlag) {
    const NodeRef node = ReadNodeKey(key);
    return anyFlag ? node.WithAny() : node.codes;
}

NodeKind NodeKindOf(const QString& key) {
    return ReadNodeKey(key).kind;
}

} // namespace qvs
