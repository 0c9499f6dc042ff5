// What one cell of the entry grid shows for an entry: text, colour, icon and
// the key it sorts by. Pure functions of the entry and the context, so the
// model can compute a cell only when the view asks for it.
#pragma once

#include "mainwin/date_state.h"
#include "store/records.h"

#include <QColor>
#include <QString>

#include <optional>
#include <string>

namespace ardeko {
class clsPW;
}

namespace qvs {

struct CellContext {
    const ardeko::clsPW& store; // category names
    double today;               // date without time of day
    bool masked;                // passwords as asterisks
    bool multiLineNotes;        // notes keep their line breaks
};

// "dd/mm/yyyy"; empty for a value that is no valid date.
QString GridDateText(double date);

// As many "*" as the text has characters.
QString MaskedText(const std::string& utf8);

// Notes on one line (line breaks become blanks) or with "\n" line breaks.
QString NotesText(const std::string& utf8, bool multiLine);

// Number of lines of a notes text (CR LF, CR and LF each end a line).
int NoteLineCount(const std::string& utf8);

DateLevel ExpiryLevel(const ardeko::T_Password& p, double today);
DateLevel ChangeLevel(const ardeko::T_Password& p, double today);

QString CellText(const ardeko::T_Password& p, int column, const CellContext& ctx);

// Text colour of a cell: the notes grey, else the theme's.
std::optional<QColor> CellColour(int column);

// Background of an entry's row: tinted by the more urgent of its two dates
// when it is due (as the expiry list shows it), else the theme's.
std::optional<QColor> RowTint(const ardeko::T_Password& p, double today);

// Image key of a state column's icon; empty when the cell has none.
QString CellIconKey(const ardeko::T_Password& p, int column, double today);

// Rows compare by number first, then by text. Dates sort by date (an unused
// date before every date), state icons by severity, texts without regard to
// letter case as shown (a masked password by its length).
struct GridSortKey {
    double number = 0;
    QString text;
    bool operator<(const GridSortKey& o) const {
        if (number != o.number) return number < o.number;
        return text < o.text;
    }
};
GridSortKey SortKeyOf(const ardeko::T_Password& p, int column, const CellContext& ctx);

} // namespace qvs
