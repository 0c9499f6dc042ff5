// Opening a web or mail address with the desktop's own handler: entry
// addresses from the grid, the menus, the tray and the entry editor, and the
// maker's pages. One place decides how a typed address becomes a URL.
#pragma once

#include <QString>
#include <QUrl>

#include <functional>

namespace qvs {

// The URL a typed address stands for: a bare mail address gets "mailto:",
// an address without a scheme is taken as a web address ("www.x.org" is
// http://www.x.org). Blanks around it are ignored. Invalid for "".
QUrl WebAddressUrl(const QString& text);

// Opens the address. "" (after trimming) shows text 30001 instead; an
// address the desktop cannot open says so. Once opened, with "GTSAfterURL"
// on and outside tray mode the main window goes to the tray, so that the
// entry is at hand from the tray menu while the user logs in. True when the
// address was handed to the desktop.
bool OpenWebAddress(const QString& text);

// The same without going to the tray: for pages that have nothing to do
// with an entry (the maker's pages, the support mail address).
bool OpenDocument(const QString& text);

// What hands a URL to the desktop (QDesktopServices::openUrl); tests put
// their own in. An empty function restores the desktop's.
using UrlOpener = std::function<bool(const QUrl&)>;
void SetUrlOpener(UrlOpener opener);

} // namespace qvs
