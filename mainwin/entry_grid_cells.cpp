#include "mainwin/entry_grid_cells.h"

#include "frame/vb_date_qt.h"
#include "mainwin/entry_grid_columns.h"
#include "store/pw.h"
#include "store/vbdate.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qvs {

using ardeko::T_Password;

namespace {

// A tab or another control character would stretch or break a one-line
// cell: each one shows as one blank.
QString Text(const std::string& utf8) {
    QString text = QString::fromStdString(utf8);
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) c = QLatin1Char(' ');
    return text;
}

// The text shown in a date column: the date only while it is in force.
QString DueDateText(bool inForce, double date) {
    return inForce ? GridDateText(date) : QString();
}

// A date that is no number (damaged file) must not upset the sort's order.
double DueSortNumber(bool inForce, double date) {
    return inForce && !std::isnan(date) ? date : std::numeric_limits<double>::lowest();
}

double LevelRank(DateLevel level) {
    return static_cast<double>(ByDateLevel(level, 2, 1, 0));
}

} // namespace

QString GridDateText(double date) {
    return DayMonthYearText(date);
}

QString MaskedText(const std::string& utf8) {
    qsizetype characters = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    return QString(characters, QLatin1Char('*'));
}

QString NotesText(const std::string& utf8, bool multiLine) {
    QString text = QString::fromStdString(utf8);
    const QString lineBreak = multiLine ? QStringLiteral("\n") : QStringLiteral(" ");
    text.replace(QLatin1String("\r\n"), lineBreak);
    text.replace(QLatin1Char('\r'), lineBreak);
    if (!multiLine) text.replace(QLatin1Char('\n'), lineBreak);
    return text;
}

int NoteLineCount(const std::string& utf8) {
    int lines = 1;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\n') ++lines;
        if (utf8[i] == '\r') {
            ++lines;
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
        }
    }
    return lines;
}

DateLevel ExpiryLevel(const T_Password& p, double today) {
    return LevelOfDue(ardeko::clsPW::DueOn(p, today).expiry);
}

DateLevel ChangeLevel(const T_Password& p, double today) {
    return LevelOfDue(ardeko::clsPW::DueOn(p, today).change);
}

QString CellText(const T_Password& p, int column, const CellContext& ctx) {
    switch (column) {
    case GridColumn::Service:
        return Text(p.service);
    case GridColumn::UserName:
        return Text(p.User);
    case GridColumn::Password:
        return ctx.masked ? MaskedText(p.pw) : Text(p.pw);
    case GridColumn::Email:
        return Text(p.Email);
    case GridColumn::URL:
        return Text(p.URL_Access);
    case GridColumn::ExpDate:
        return DueDateText(p.blExpire, p.Dt_Expire);
    case GridColumn::ExpURL:
        return Text(p.URL_Delete);
    case GridColumn::ChangeDate:
        return DueDateText(p.blChange, p.Dt_Change);
    case GridColumn::ChangeURL:
        return Text(p.URL_Change);
    case GridColumn::Cat:
        return Text(ctx.store.CatValue(p.Codcat));
    case GridColumn::SubCat:
        return Text(ctx.store.SubCatValue(p.CodSCat));
    case GridColumn::Notes:
        return NotesText(p.Descr, ctx.multiLineNotes);
    default:
        return {};
    }
}

std::optional<QColor> CellColour(int column) {
    if (column == GridColumn::Notes) return QColor(128, 128, 128);
    return std::nullopt;
}

std::optional<QColor> RowTint(const T_Password& p, double today) {
    const DateLevel level = std::max(ExpiryLevel(p, today), ChangeLevel(p, today));
    if (level == DateLevel::Normal) return std::nullopt;
    return DateLevelTint(level);
}

QString CellIconKey(const T_Password& p, int column, double today) {
    static const QString alert = QStringLiteral("ALERT"), warning = QStringLiteral("WARNING"), none;
    if (column == GridColumn::Expire)
        return ByDateLevel(ExpiryLevel(p, today), alert, warning, none);
    if (column == GridColumn::Change)
        return ByDateLevel(ChangeLevel(p, today), alert, warning, none);
    return none;
}

GridSortKey SortKeyOf(const T_Password& p, int column, const CellContext& ctx) {
    switch (column) {
    case GridColumn::Expire:
        return {LevelRank(ExpiryLevel(p, ctx.today)), {}};
    case GridColumn::Change:
        return {LevelRank(ChangeLevel(p, ctx.today)), {}};
    case GridColumn::ExpDate:
        return {DueSortNumber(p.blExpire, p.Dt_Expire), {}};
    case GridColumn::ChangeDate:
        return {DueSortNumber(p.blChange, p.Dt_Change), {}};
    case GridColumn::Notes:
        return {0, Text(p.Descr).toCaseFolded()};
    default:
        return {0, CellText(p, column, ctx).toCaseFolded()};
    }
}

} // namespace qvs
