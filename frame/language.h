// Every user-visible text comes from the current language's table by number.
// Windows are designed with numbers in place of texts and localise
// themselves when built.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace qvs {

// Makes code ("ENG", "ITA", or a table dropped into the per-user data folder)
// the current language; falls back to "ENG", then fails. code is set to the
// language actually loaded (or "ENG").
bool LoadLanguage(QString& code);
QString CurrentLanguage();
QStringList AvailableLanguages();

// The text with this number; "Error : No Local Data" when no table is loaded.
QString GetLocalText(int id);

// Replaces numbers by texts in a window and its controls.
void LocalizeForm(QWidget* form);

} // namespace qvs
