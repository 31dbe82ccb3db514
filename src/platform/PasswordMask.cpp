#include "PasswordMask.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>

namespace {
// The application's style in every other respect.
class AsteriskStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
} // namespace

namespace PasswordMask {

void apply(QLineEdit* box)
{
    // One style for all boxes, owned by the application, so that it outlives every box that uses it.
    static QPointer<AsteriskStyle> style;
    if (!style) {
        style = new AsteriskStyle;
        style->setParent(qApp);
    }
    box->setEchoMode(QLineEdit::Password);
    box->setStyle(style);
}

} // namespace PasswordMask
