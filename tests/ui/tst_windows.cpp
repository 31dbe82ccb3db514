// One check over every window, as it opens: no caption cut off, no control lying over another, every field
// named by its label (the label is the field's buddy, which screen readers announce), every button that shows
// only an icon named too. CTest runs it at 100 % and, with QT_SCALE_FACTOR=2, at 200 %.
#include "TestSupport.h"
#include "client/ActivationDialog.h"
#include "client/LoginDialog.h"
#include "client/SignUpDialog.h"
#include "viewer/AboutDialog.h"
#include "viewer/DateRangeDialog.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using MakeWindow = std::function<QWidget*()>;
Q_DECLARE_METATYPE(MakeWindow)

class WindowsTest : public QObject {
    Q_OBJECT
    TempSettings settings;

    static QStringList problems(QWidget* window)
    {
        QStringList found = clippedCaptions(window);
        const auto children = window->findChildren<QWidget*>();
        for (QWidget* a : children)
            for (QWidget* b : children)
                if (a < b && a->parentWidget() == b->parentWidget() && a->isVisible() && b->isVisible() &&
                    !a->isWindow() && !b->isWindow() && a->geometry().intersects(b->geometry()))
                    found << QString("%1 overlaps %2").arg(a->objectName(), b->objectName());
        QSet<QWidget*> named;
        for (QLabel* label : window->findChildren<QLabel*>())
            if (label->buddy() && !label->text().isEmpty())
                named << label->buddy();
        for (QWidget* w : children) {
            const bool field = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w);
            if (field && w->isVisible() && !named.contains(w) && !w->parentWidget()->inherits("QComboBox") &&
                !w->parentWidget()->inherits("QCalendarWidget") && !w->parentWidget()->inherits("QSpinBox"))
                found << w->objectName() + " has no label";
            auto* button = qobject_cast<QAbstractButton*>(w);
            if (button && button->isVisible() && button->text().isEmpty() && button->accessibleName().isEmpty())
                found << QString("a button in %1 has no name").arg(w->parentWidget()->objectName());
            if (qobject_cast<QCalendarWidget*>(w) && w->accessibleName().isEmpty())
                found << w->objectName() + " has no name";
        }
        return found;
    }

private slots:
    void everyWindowIsReadable_data()
    {
        QTest::addColumn<MakeWindow>("make");
        QTest::newRow("sign-in") << MakeWindow([] { return new LoginDialog; });
        QTest::newRow("sign-up") << MakeWindow([] { return new SignUpDialog; });
        QTest::newRow("activation") << MakeWindow([] { return new ActivationDialog; });
        QTest::newRow("date selector") << MakeWindow([] {
            return new DateRangeDialog(QDate(2008, 1, 31), QDate(2008, 2, 29));
        });
        QTest::newRow("about") << MakeWindow(
            [] { return new AboutDialog(QStringLiteral("Quillmoor Lumenpane (Build 40)")); });
    }
    void everyWindowIsReadable()
    {
        QFETCH(MakeWindow, make);
        std::unique_ptr<QWidget> window(make());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        saveShot(window.get(), QString("%1-%2x").arg(window->objectName()).arg(window->devicePixelRatio()));
        const QStringList found = problems(window.get());
        QVERIFY2(found.isEmpty(), qPrintable(found.join("; ")));
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
