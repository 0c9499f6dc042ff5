// The fields an export can hold and the text each one writes for an entry.
// Captions are written as they stand in every language: they are the
// column names other programs import by.
#pragma once

#include "store/records.h"

#include <QString>
#include <QStringList>

namespace ardeko {
class clsPW;
}

namespace qvs {

inline const QString kServiceCaption = QStringLiteral("Service");
inline const QString kNotesCaption = QStringLiteral("Notes");
inline const QString kHistoryCaption = QStringLiteral("Password History");
inline const QString kNoCategory = QStringLiteral("No Category");
inline const QString kNoSubCategory = QStringLiteral("No SubCategory");

// The captions the field list offers, in the order it offers them. "TOTP",
// the one-time-code secret as its otpauth:// address, comes last: a secret
// like the password, written only when chosen.
const QStringList& FieldCaptions();

// What the entry writes under caption (a field caption, "Service", "Notes"
// or "Password History": one line per earlier password, its date of
// replacement first); "" for an unknown caption.
QString FieldValue(const ardeko::clsPW& store, const ardeko::T_Password& p, const QString& caption);

// "dd/mm/yyyy", as the grid shows dates; "" for a date never set or no date.
QString ExportDateText(double date);

// The value on one line for a column: every line break, tab and other
// control character becomes a blank.
QString OneLine(const QString& value);
// A value that keeps its line breaks (a password may hold one), each
// written as lineBreak, its further lines starting indent blanks in.
QString ContinuedLines(const QString& value, int indent, const QString& lineBreak);

} // namespace qvs
