#include "FindWebsiteDialog.h"

#include "platform/FormWindow.h"
#include "ui_FindWebsiteDialog.h"

#include <QAbstractListModel>
#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QSortFilterProxyModel>
#include <QTimer>
#include <algorithm>

// The sites of a site menu, in its order, as their names read (the menu's "&&" is one "&").
class SiteMenuModel : public QAbstractListModel {
public:
    SiteMenuModel(QMenu* menu, QObject* parent) : QAbstractListModel(parent), m_menu(menu)
    {
        menu->installEventFilter(this);
        m_sites = sitesOf(menu);
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_sites.size()); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        return index.isValid() && role == Qt::DisplayRole ? m_sites[index.row()].name : QVariant();
    }
    const QString& name(int row) const { return m_sites[row].name; }
    QAction* action(const QModelIndex& index) const
    {
        return index.isValid() ? m_sites[index.row()].item.data() : nullptr;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        // A site list adds its items one by one: the list catches up with them from the event loop, in one go.
        if ((type == QEvent::ActionAdded || type == QEvent::ActionChanged || type == QEvent::ActionRemoved) &&
            !m_catchingUp) {
            m_catchingUp = true;
            QTimer::singleShot(0, this, &SiteMenuModel::catchUp);
        }
        return false;
    }

private:
    struct Site {
        QPointer<QAction> item;
        QString name;
        bool operator==(const Site& other) const { return item == other.item && name == other.name; }
    };

    static QList<Site> sitesOf(const QMenu* menu)
    {
        QList<Site> sites;
        const QList<QAction*> items = menu->actions();
        for (QAction* item : items.mid(1))
            sites.append({item, nameOf(item->text())});
        return sites;
    }
    static QString nameOf(const QString& caption)
    {
        QString name;
        name.reserve(caption.size());
        for (qsizetype i = 0; i < caption.size(); ++i)
            if (caption[i] != QLatin1Char('&') || ++i < caption.size())
                name += caption[i];
        return name;
    }

    void catchUp()
    {
        m_catchingUp = false;
        if (!m_menu)
            return;
        QList<Site> now = sitesOf(m_menu);
        const qsizetype known = m_sites.size();
        // Sites added at the end, as a site list adds them, join the list where it stands; anything else
        // (a renamed or removed site) lays the list out again.
        if (now.size() > known && std::equal(m_sites.cbegin(), m_sites.cend(), now.cbegin())) {
            beginInsertRows({}, int(known), int(now.size() - 1));
            m_sites = std::move(now);
            endInsertRows();
        } else if (now != m_sites) {
            beginResetModel();
            m_sites = std::move(now);
            endResetModel();
        }
    }

    QPointer<QMenu> m_menu;
    QList<Site> m_sites;
    bool m_catchingUp = false;
};

// Sites whose name holds a text, letter case aside. A new text filters the whole list again in one pass: the
// proxy's own filter update works through the rows that come and go range by range, which on long lists takes
// many times longer than filtering afresh.
class SiteNameFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setText(const QString& text)
    {
        m_text = text;
        invalidate();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        return !parent.isValid() &&
               static_cast<const SiteMenuModel*>(sourceModel())->name(row).contains(m_text, Qt::CaseInsensitive);
    }

private:
    QString m_text;
};

FindWebsiteDialog::FindWebsiteDialog(QMenu* siteMenu, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::FindWebsiteDialog>()), m_sites(new SiteMenuModel(siteMenu, this)),
      m_shown(new SiteNameFilter(this))
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    FormWindow::setUp(this);

    m_shown->setSourceModel(m_sites);
    m_ui->lstSites->setModel(m_shown);
    m_ui->txtFilter->installEventFilter(this);

    connect(m_ui->txtFilter, &QLineEdit::textChanged, this, &FindWebsiteDialog::filter);
    connect(m_ui->txtFilter, &QLineEdit::returnPressed, this, &FindWebsiteDialog::openChosen);
    connect(m_ui->lstSites, &QListView::activated, this, &FindWebsiteDialog::openChosen);
    connect(m_shown, &QAbstractItemModel::rowsInserted, this, &FindWebsiteDialog::showCount);
    connect(m_shown, &QAbstractItemModel::modelReset, this, &FindWebsiteDialog::showCount);
    filter(QString());
}

FindWebsiteDialog::~FindWebsiteDialog() = default;

void FindWebsiteDialog::filter(const QString& text)
{
    m_shown->setText(text);
    // The best match is the first: Enter shows it without a key more.
    m_ui->lstSites->setCurrentIndex(m_shown->index(0, 0));
    showCount();
}

void FindWebsiteDialog::showCount()
{
    if (!m_ui->lstSites->currentIndex().isValid())
        m_ui->lstSites->setCurrentIndex(m_shown->index(0, 0));
    m_ui->lblCount->setText(tr("%L1 of %L2 sites").arg(m_shown->rowCount()).arg(m_sites->rowCount()));
}

void FindWebsiteDialog::openChosen()
{
    QAction* item = m_sites->action(m_shown->mapToSource(m_ui->lstSites->currentIndex()));
    if (!item)
        return;
    item->trigger();
    accept();
}

bool FindWebsiteDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Keys that move through the list reach it from the text box, which keeps the focus for further typing.
    if (watched == m_ui->txtFilter && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(m_ui->lstSites, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
