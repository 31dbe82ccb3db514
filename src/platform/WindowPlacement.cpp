#include "WindowPlacement.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace WindowPlacement {

namespace {
class CentreOnFirstShow : public QObject {
public:
    explicit CentreOnFirstShow(QWidget* window) : QObject(window) { window->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            centreOnScreen(static_cast<QWidget*>(watched));
            deleteLater();
        }
        return false;
    }
};

class FocusOnShow : public QObject {
public:
    explicit FocusOnShow(QWidget* window) : QObject(window) { window->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            static_cast<QWidget*>(watched)->activateWindow();
        return false;
    }
};

class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget* window, std::function<void()> then) : QObject(window), m_then(std::move(then))
    {
        window->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, parent(), m_then);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_then;
};
} // namespace

void afterFirstPaint(QWidget* window, std::function<void()> then)
{
    new AfterFirstPaint(window, std::move(then));
}

void centreOnScreen(QWidget* window)
{
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    window->move(frame.topLeft());
}

void centreWhenFirstShown(QWidget* window)
{
    new CentreOnFirstShow(window);
}

void takeFocusWhenShown(QWidget* window)
{
    new FocusOnShow(window);
}

} // namespace WindowPlacement
