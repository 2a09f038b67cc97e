#include "linking/forms/linkedpicture.h"

#include "listctl/grdcomm.h"

#include <QLabel>
#include <QPainter>
#include <QPen>

#include <map>

namespace zq {

QPixmap linkedPicture(int size) {
    static std::map<int, QPixmap> drawn;
    if (auto it = drawn.find(size); it != drawn.end()) return it->second;

    QPixmap pix(size, size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size * 0.62, h = size * 0.36, r = h / 2;
    QPen pen(QColor(0, 90, 160));
    pen.setWidthF(std::max(1.5, size / 8.0));
    p.setPen(pen);
    // Two rounded links crossing on the diagonal.
    p.translate(size / 2.0, size / 2.0);
    p.rotate(-45);
    p.drawRoundedRect(QRectF(-w + r, -h / 2, w, h), r, r);
    p.drawRoundedRect(QRectF(-r, -h / 2, w, h), r, r);
    p.end();
    drawn.emplace(size, pix);
    return pix;
}

std::unique_ptr<OverlayColumn> linkedPictureColumn(grdComm& list, int column) {
    return std::make_unique<OverlayColumn>(list, column, [&list](int i) {
        auto* pic = new QLabel(list.Container());
        pic->setObjectName(QStringLiteral("picColl_%1").arg(i));
        pic->setPixmap(linkedPicture());
        pic->adjustSize();
        return pic;
    });
}

}  // namespace zq
