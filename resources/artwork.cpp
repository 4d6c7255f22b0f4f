#include "resources/artwork.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace tilemond {

QPixmap artwork(const QString& name, QSize size)
{
    const QString path = QStringLiteral(":/art/%1.svg").arg(name);
    if (name.isEmpty() || size.isEmpty() || !QFile::exists(path))
        return {};
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return pixmap;
}

} // namespace tilemond
