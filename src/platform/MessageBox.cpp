#include "MessageBox.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>

namespace {
MessageBox::Handler& testHandler()
{
    static MessageBox::Handler handler;
    return handler;
}
} // namespace

void MessageBox::setTestHandler(Handler handler)
{
    testHandler() = std::move(handler);
}

void MessageBox::show(const QString& text, const QString& title, Icon icon)
{
    const QString shown = text.size() > MaxTextLength ? text.left(MaxTextLength) + QChar(0x2026) : text;
    if (testHandler()) {
        const QCursor* pointer = QApplication::overrideCursor();
        testHandler()({shown, title, icon, pointer ? pointer->shape() : Qt::ArrowCursor});
        return;
    }
    const QMessageBox::Icon qtIcon = icon == Icon::Critical      ? QMessageBox::Critical
                                     : icon == Icon::Information ? QMessageBox::Information
                                                                 : QMessageBox::NoIcon;
    QMessageBox box(qtIcon, title, shown, QMessageBox::Ok);
    // Texts may come from the service: shown exactly as sent, never interpreted as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
