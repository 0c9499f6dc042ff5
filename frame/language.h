// Every user-visible text comes from the current language's table by number.
// Windows are designed with numbers in place of texts and localise
// themselves when built.
//
// Tables: one per language code ("ENG", "ITA", ...). The built-in ones are
// compiled in as ":/lang/<CODE>"; a table dropped into the per-user folder
// ~/.local/share/Tarnwick/QVS/lang/<CODE> (QVSLite also looks in .../QVSLite/lang
// first) adds a language or replaces a built-in one. Codes are matched
// regardless of letter case and reported upper-case. The format is in
// language_table.h.
#pragma once

#include <QString>
#include <QStringList>
#include <Qt>

#include <optional>

class QWidget;

namespace qvs {

// What GetLocalText answers while no table is loaded.
inline constexpr char kNoLocalData[] = "Error : No Local Data";

// Makes code ("ENG", "ITA", or a dropped table) the current language; falls
// back to "ENG", then fails with no table loaded. code is set to the language
// actually loaded (or "ENG").
bool LoadLanguage(QString& code);
QString CurrentLanguage();
// Whether a table for code can be found and read, without loading it.
bool CanLoadLanguage(const QString& code);
// Codes of every table that can be loaded, built-in and dropped, sorted.
QStringList AvailableLanguages();
// The language's own name for lists ("English", "Italiano"); the code itself
// when the table has none or cannot be read.
QString LanguageDisplayName(const QString& code);

// The text with this number; kNoLocalData when no table is loaded; "[id]"
// when the loaded table lacks the id, so the gap shows on screen.
QString GetLocalText(int id);
// The text with this number, its first "%s" replaced by value.
QString LocalTextWith(int id, const QString& value);

// Replaces numbers by texts in a window and its controls. A text is "numeric"
// when it reads as a whole number (surrounding blanks allowed); anything else
// stays as designed. The "tag" of an object is its dynamic property "tag".
//  - the window: title from a numeric tag, then the title if numeric;
//  - QAction (menu items, tool buttons) and QMenu titles: text and toolTip if
//    numeric; an action with a numeric tag takes its toolTip from the tag,
//    and its text too while that is empty or numeric (toolbar buttons);
//  - QTabWidget: each tab's title from its page widget's numeric tag; QTabBar
//    tab titles and tooltips if numeric;
//  - QComboBox: every numeric item text;
//  - QLineEdit: its text only when its tag is "RES"; its placeholder if numeric;
//  - item views: every header section whose data under TextIdRole is a
//    number takes that text (see TextIdRole);
//  - any other widget (labels, buttons, check boxes, group boxes ...): its
//    "text" or "title" and its toolTip if numeric.
// Running it again on a localised window changes nothing.
void LocalizeForm(QWidget* form);

// Header sections of item views carry their text id as header data under
// this role, e.g. model->setHeaderData(0, Qt::Horizontal, 50, TextIdRole) or
// treeWidget->headerItem()->setData(0, TextIdRole, 50). A role of its own
// because models answer the display role with "1", "2", ... for headers that
// were never set.
inline constexpr int TextIdRole = Qt::UserRole + 0x5156;

// The folders searched for tables, first match wins.
QStringList LanguageSearchPaths();
// Tests replace the folders (an empty list hides every table, the built-in
// ones included); std::nullopt restores the normal ones.
void SetLanguageSearchPathsForTesting(std::optional<QStringList> folders);

} // namespace qvs
