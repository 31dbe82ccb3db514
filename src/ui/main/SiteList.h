#pragma once

#include <QString>

// Asks the service for the account's sites and gives each one an item in the main window's site menu,
// keyed by the site identifier. Items are re-created for listed sites and never removed. Failures and
// refusals change nothing and show nothing. The busy pointer shows while it runs.
void LoadSiteList(const QString& email, const QString& password);

// The caption a site item shows for a site name: the name as written ("&" is no access key here), or the
// identifier when the service sent no name.
QString SiteCaption(qint16 siteId, const QString* name);
