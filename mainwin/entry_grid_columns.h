// The entry grid's columns in creation order, with the keys the code and the
// layout settings use and the language text of each header.
#pragma once

#include <QString>

#include <array>

namespace qvs {

namespace GridColumn {
enum : int {
    Group1, // three grouping columns without entry content, never shown
    Group2,
    Group3,
    Service,
    UserName,
    Password,
    Email,
    URL,
    Expire, // expiry state icon
    ExpDate,
    ExpURL,
    Change, // change state icon
    ChangeDate,
    ChangeURL,
    Cat,
    SubCat,
    Notes,
    Count
};
} // namespace GridColumn

struct GridColumnInfo {
    const char* key;
    int textId;        // header text; 0 when the header shows an image
    const char* image; // header image key, or nullptr
    int width;         // built-in width in pixels
};

inline constexpr std::array<GridColumnInfo, GridColumn::Count> kGridColumns{{
    {"group1", 0, nullptr, 0},
    {"group2", 0, nullptr, 0},
    {"group3", 0, nullptr, 0},
    {"Service", 50, nullptr, 160},
    {"UserName", 51, nullptr, 120},
    {"Password", 52, nullptr, 100},
    {"Email", 60, nullptr, 150},
    {"URL", 53, nullptr, 180},
    {"Expire", 0, "PDELETE", 26},
    {"ExpDate", 54, nullptr, 80},
    {"ExpURL", 55, nullptr, 150},
    {"Change", 0, "PEDIT", 26},
    {"ChangeDate", 56, nullptr, 80},
    {"ChangeURL", 57, nullptr, 150},
    {"Cat", 58, nullptr, 110},
    {"SubCat", 59, nullptr, 110},
    {"Notes", 61, nullptr, 220},
}};

inline bool IsGroupColumn(int column) {
    return column >= GridColumn::Group1 && column <= GridColumn::Group3;
}

// The column's key; empty for an index out of range.
inline QString GridColumnKey(int column) {
    if (column < 0 || column >= GridColumn::Count) return {};
    return QString::fromLatin1(kGridColumns[static_cast<std::size_t>(column)].key);
}

// The column with this key (letter case ignored); -1 when none has it.
inline int GridColumnOfKey(const QString& key) {
    for (int c = 0; c < GridColumn::Count; ++c)
        if (key.compare(QLatin1String(kGridColumns[static_cast<std::size_t>(c)].key),
                        Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

} // namespace qvs
