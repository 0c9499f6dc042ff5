// The keys of the category tree's nodes. A key says what a node stands for;
// the grid, the menus and drag and drop read the category and subcategory
// codes back out of it with ParseNodeKey.
//
//   "R"            the file (root)           "C0"    entries without category
//   "P"            favourites                "E1"/"E2" expiring soon / expired
//   "X1"/"X2"      to change soon / now      "C12"   category 12
//   "S0C12"        category 12 without subcategory
//   "S7C12"        subcategory 7 of category 12
//   "F"            the results of a search (present only while they are shown)
#pragma once

#include <QString>

#include <cstdint>

namespace qvs {

inline constexpr char kRootKey[] = "R";
inline constexpr char kNoCategoryKey[] = "C0";
inline constexpr char kFavouritesKey[] = "P";
inline constexpr char kExpiringKey[] = "E1";
inline constexpr char kExpiredKey[] = "E2";
inline constexpr char kChangeSoonKey[] = "X1";
inline constexpr char kChangeDueKey[] = "X2";
inline constexpr char kSearchKey[] = "F";

// Stands for "any category" or "any subcategory" in parsed codes.
inline constexpr std::int16_t kAnyCode = -1;

struct NodeCodes {
    std::int16_t cat = 0;
    std::int16_t scat = 0;
    bool operator==(const NodeCodes&) const = default;
};

// "C12".
QString CategoryNodeKey(std::int16_t cat);
// "S7C12"; scat 0 gives the category's no-subcategory folder "S0C12".
QString SubCategoryNodeKey(std::int16_t cat, std::int16_t scat);

// The codes a key stands for. A category key gives subcategory kAnyCode
// with anyFlag, else 0; keys that name no category ("R", "P", "E1", ...,
// and the empty key) give kAnyCode for both with anyFlag, else 0 for both.
// A number that cannot be read or does not fit a code counts as 0.
NodeCodes ParseNodeKey(const QString& key, bool anyFlag);

// What a node is, for the rules that depend on it (menus, drops).
enum class NodeKind {
    Root,          // "R" (and the empty key)
    NoCategory,    // "C0"
    Favourites,    // "P"
    DueState,      // "E1", "E2", "X1", "X2"
    Category,      // "C" + code
    NoSubCategory, // "S0C" + code
    SubCategory,   // "S" + code + "C" + code
    Unknown,
};
NodeKind NodeKindOf(const QString& key);

// A key read once, for a command that asks about the node several times.
struct NodeRef {
    NodeKind kind = NodeKind::Root;
    NodeCodes codes; // as ParseNodeKey(key, false)
    // As ParseNodeKey(key, true): what a new entry in this node is filed under.
    NodeCodes WithAny() const;
};
NodeRef ReadNodeKey(const QString& key);

} // namespace qvs
