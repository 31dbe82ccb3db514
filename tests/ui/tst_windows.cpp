// Every window as it opens, at 100 % and (QT_SCALE_FACTOR=2) 200 %: no caption cut off, no control over another,
// every field named by its label (its buddy, which screen readers announce), every icon-only button named too; and
// every password box shows "*" for each character, whatever the style would draw.
#include "TestSupport.h"
#include "client/ActivationDialog.h"
#include "client/LoginDialog.h"
#include "client/SignUpDialog.h"
#include "viewer/AboutDialog.h"
#include "viewer/DateRangeDialog.h"
#include "viewer/FindWebsiteDialog.h"

#include <QtTest>
#include <QtWidgets>

static QStringList problems(QWidget* window)
{
    const auto tooWide = [](const QWidget* control, QString caption, int edges) { // "&" marks an access key
        caption.replace("&&", "\x01").remove('&').replace('\x01', '&');
        return control->fontMetrics().horizontalAdvance(caption) + edges > control->width();
    };
    QStringList found;
    QSet<QWidget*> named;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        const QFontMetrics fm = label->fontMetrics();
        const QRect wrapped = fm.boundingRect(QRect(0, 0, label->width(), 100000), Qt::TextWordWrap, label->text());
        const bool fits = label->wordWrap()
                              ? wrapped.height() <= label->height()
                              : fm.horizontalAdvance(label->text()) <= label->width() && fm.height() <= label->height();
        if (!label->text().isEmpty() && !fits)
            found << label->text() + " is cut off";
        if (label->buddy() && !label->text().isEmpty())
            named << label->buddy();
    }
    const auto children = window->findChildren<QWidget*>();
    for (QWidget* w : children) {
        const auto* button = qobject_cast<QAbstractButton*>(w);
        const auto* frame = qobject_cast<QGroupBox*>(w);
        const auto* list = qobject_cast<QComboBox*>(w);
        if ((qobject_cast<QPushButton*>(w) && tooWide(w, button->text(), 8)) ||
            (frame && tooWide(w, frame->title(), 15)) || (list && list->sizeHint().width() > w->width()))
            found << w->objectName() + " is cut off";
        for (QWidget* b : children)
            if (w < b && w->parentWidget() == b->parentWidget() && w->isVisible() && b->isVisible() && !w->isWindow() &&
                !b->isWindow() && w->geometry().intersects(b->geometry()))
                found << w->objectName() + " overlaps " + b->objectName();
        if (auto* box = qobject_cast<QLineEdit*>(w); box && w->objectName().contains("Password")) {
            box->setText("pw");
            if (box->displayText() != "**")
                found << w->objectName() + " shows " + box->displayText();
        }
        const QWidget* parent = w->parentWidget(); // the fields inside a list box, calendar or spin box need none
        if ((qobject_cast<QLineEdit*>(w) || list) && w->isVisible() && !named.contains(w) &&
            !parent->inherits("QComboBox") && !parent->inherits("QCalendarWidget") && !parent->inherits("QSpinBox"))
            found << w->objectName() + " has no label";
        if (((button && button->text().isEmpty()) || qobject_cast<QCalendarWidget*>(w)) && w->isVisible() &&
            w->accessibleName().isEmpty())
            found << w->objectName() + " in " + parent->objectName() + " has no name";
    }
    return found;
}

class WindowsTest : public QObject {
    Q_OBJECT
    TempSettings settings;

private slots:
    void everyWindowIsReadable()
    {
        CredentialStore credentials;
        QMenu sites;
        for (const char* site : {"&Refresh List", "example.com", "shop.example.com"})
            sites.addAction(site);
        const std::unique_ptr<QWidget> windows[] = {
            std::make_unique<LoginDialog>(credentials),
            std::make_unique<SignUpDialog>(credentials),
            std::make_unique<ActivationDialog>(),
            std::make_unique<DateRangeDialog>(QDate(2008, 1, 31), QDate(2008, 2, 29)),
            std::make_unique<AboutDialog>("Quillmoor Lumenpane (Build 40)"),
            std::make_unique<FindWebsiteDialog>(&sites)};
        for (const auto& window : windows) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            const QStringList found = problems(window.get());
            QVERIFY2(found.isEmpty(), qPrintable(window->objectName() + ": " + found.join("; ")));
        }
    }
};

LUMENPANE_TEST_MAIN(WindowsTest)
#include "tst_windows.moc"
