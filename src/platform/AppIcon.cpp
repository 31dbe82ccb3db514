#include "AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace AppIcon {

static QPixmap draw(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 16.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x5f, 0xa8));
    p.drawRoundedRect(QRectF(0, 0, size, size), 3 * s, 3 * s);
    p.setBrush(QColor(0xff, 0xd2, 0x4a));
    p.drawRect(QRectF(3 * s, 9 * s, 2.5 * s, 4 * s));
    p.drawRect(QRectF(6.75 * s, 6 * s, 2.5 * s, 7 * s));
    p.drawRect(QRectF(10.5 * s, 3 * s, 2.5 * s, 10 * s));
    return pixmap;
}

QIcon icon()
{
    static const QIcon cached = [] {
        QIcon i;
        for (int size : {16, 22, 24, 32, 48, 64})
            i.addPixmap(draw(size));
        return i;
    }();
    return cached;
}

} // namespace AppIcon
