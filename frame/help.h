// In-program help: windows hand topic numbers to one viewer, which shows our
// own page for the topic in the current language.
#pragma once

#include <QString>

class QWidget;

namespace qvs {

// Shows the page of topic in the one help window, owned by parent's window so
// that it stays usable while that dialog is open. Topic 0 is the contents.
void ShowHelp(int topic, QWidget* parent);

// Gives window a help topic: F1 in it shows that page. Windows with pages
// call it again whenever the page changes.
void SetHelpTopic(QWidget* window, int topic);
// The window's topic, or -1 when it has none.
int HelpTopic(const QWidget* window);

// The resource path of the page for topic: the language's own page, else the
// English one, else the page that says there is no help on it.
QString HelpPageFor(int topic, const QString& language);

} // namespace qvs
