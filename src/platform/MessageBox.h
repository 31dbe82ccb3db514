#pragma once

#include <QString>
#include <Qt>
#include <functional>

// The program's one way of showing a modal message box with a single OK button.
// Tests install a handler that receives each box instead of the user, and so answer it at once.
class MessageBox {
public:
    enum class Icon { None, Information, Critical };

    struct Shown {
        QString text;
        QString title;
        Icon icon = Icon::None;
        Qt::CursorShape pointer = Qt::ArrowCursor; // the program's pointer while the box is open
    };
    using Handler = std::function<void(const Shown&)>;

    // The application title: the title of every box that is given none of its own.
    static QString applicationTitle() { return QStringLiteral("Lumenpane"); }

    // A longer text is cut there, with an ellipsis, so that a box always fits on the screen.
    static constexpr int MaxTextLength = 2000;

    static void show(const QString& text, const QString& title, Icon icon);
    static void show(const QString& text, Icon icon) { show(text, applicationTitle(), icon); }

    static void setTestHandler(Handler handler);
};
