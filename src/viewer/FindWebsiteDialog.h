#pragma once

#include <QDialog>
#include <memory>

class QMenu;
class SiteMenuModel;
class SiteNameFilter;
namespace Ui {
class FindWebsiteDialog;
}

// Finds a site of the site menu by a part of its name: each key narrows the list (letter case aside, anywhere in
// the name), Up and Down (and Page Up and Page Down) move through it while the typing goes on, Enter shows the
// chosen site as its menu item does, Escape closes. The list follows the menu: sites that join it while the window
// is open show up.
class FindWebsiteDialog : public QDialog {
    Q_OBJECT
public:
    // siteMenu: its items but the first ("Refresh List") are the sites.
    explicit FindWebsiteDialog(QMenu* siteMenu, QWidget* parent = nullptr);
    ~FindWebsiteDialog() override;

public slots:
    // Triggers the chosen site's menu item and closes; nothing when no site is chosen.
    void openChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void filter(const QString& text);
    void showCount();

    std::unique_ptr<Ui::FindWebsiteDialog> m_ui;
    SiteMenuModel* m_sites;
    SiteNameFilter* m_shown;
};
