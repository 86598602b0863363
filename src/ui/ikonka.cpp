#include "ui/ikonka.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

QIcon IkonkaPrilogeniya() {
    QIcon ikonka;
    for (int razmer : {16, 32, 48, 64, 128}) {
        QPixmap p(razmer, razmer);
        p.fill(Qt::transparent);
        QPainter k(&p);
        k.setRenderHint(QPainter::Antialiasing);
        k.scale(razmer / 64.0, razmer / 64.0);
        QPainterPath ramka;
        ramka.addRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
        k.fillPath(ramka, QColor(0x2b, 0x57, 0x97));
        QFont shrift(QStringLiteral("DejaVu Sans"));
        shrift.setBold(true);
        shrift.setPixelSize(40);
        k.setFont(shrift);
        k.setPen(Qt::white);
        k.drawText(QRectF(2, 0, 60, 52), Qt::AlignCenter, QStringLiteral("Ц"));
        k.fillRect(QRectF(14, 50, 36, 4), Qt::white);
        k.end();
        ikonka.addPixmap(p);
    }
    return ikonka;
}
