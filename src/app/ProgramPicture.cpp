#include "app/ProgramPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace ProgramPicture {

QPixmap make(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 100.0;
    p.scale(s, s);

    // Ground disc.
    QLinearGradient sky(0, 0, 0, 100);
    sky.setColorAt(0, QColor(0xe8, 0xf1, 0xfa));
    sky.setColorAt(1, QColor(0xc9, 0xdc, 0xef));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawEllipse(QRectF(2, 2, 96, 96));

    // House.
    p.setBrush(QColor(0xf7, 0xf3, 0xe8));
    p.setPen(QPen(QColor(0x2f, 0x4f, 0x6f), 2.5));
    p.drawRect(QRectF(24, 44, 40, 32));
    QPainterPath roof;
    roof.moveTo(18, 46);
    roof.lineTo(44, 22);
    roof.lineTo(70, 46);
    roof.closeSubpath();
    p.setBrush(QColor(0xb5, 0x3a, 0x2c));
    p.drawPath(roof);
    p.setBrush(QColor(0x2f, 0x4f, 0x6f));
    p.drawRect(QRectF(38, 58, 12, 18));

    // Coins.
    for (int i = 0; i < 4; ++i) {
        p.setBrush(QColor(0xe0, 0xa8, 0x2e));
        p.setPen(QPen(QColor(0x8a, 0x62, 0x10), 1.5));
        p.drawEllipse(QRectF(66, 72 - i * 6, 22, 8));
    }
    p.setPen(QPen(QColor(0x8a, 0x62, 0x10), 1.5));
    QFont f = p.font();
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(66, 49, 22, 10), Qt::AlignCenter, QStringLiteral("€"));
    return pm;
}

} // namespace ProgramPicture
