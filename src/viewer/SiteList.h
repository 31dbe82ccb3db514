#pragma once

#include <QString>
#include <optional>

class MainWindow;

// The account's sites as items of the main window's site menu, keyed by the site identifier.
namespace SiteList {

// Asks the service for the account's sites and gives each one an item: a listed site's item is re-captioned
// in place, a new site's item is added at the end; no item is ever removed. Failures and refusals change
// nothing and show nothing. The busy pointer shows meanwhile; waiting events are handled after each site, so
// the menu is usable while it grows. Stops when the window goes meanwhile.
void load(MainWindow* window, const QString& email, const QString& password);

// The caption of a site's item: the name as written ("&" is no access key here), or the identifier when
// the service sent no name. A name is shown on one line (control characters, which a menu would read as the
// start of a shortcut, become blanks), without the characters that would reorder it on screen, and cut at
// MaxCaptionLength characters.
QString caption(qint16 siteId, const std::optional<QString>& name);
constexpr int MaxCaptionLength = 100;

} // namespace SiteList
