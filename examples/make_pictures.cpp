// Draws the two pictures of the example page: banner.png (600 x 200), a harbour at sunset
// behind the title, and photo.png (300 x 200), a lighthouse on its rock. Built and run by
// examples/make-pictures; the pictures are committed, so nobody needs to run it.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <cstdio>

namespace {

void drawWaves(QPainter& painter, const QRect& sea, const QColor& colour)
{
    painter.setPen(QPen(colour, 2));
    for (int y = sea.top() + 8; y < sea.bottom(); y += 12)
        for (int x = sea.left() + (y / 12 % 2) * 20; x < sea.right(); x += 40)
            painter.drawArc(x, y, 20, 8, 0, 180 * 16);
}

QImage banner()
{
    QImage image(600, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 130);
    sky.setColorAt(0, QColor(40, 30, 90));
    sky.setColorAt(0.6, QColor(230, 110, 70));
    sky.setColorAt(1, QColor(255, 200, 110));
    painter.fillRect(0, 0, 600, 130, sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 230, 150));
    painter.drawEllipse(QPointF(450, 120), 40, 40);

    painter.fillRect(0, 130, 600, 70, QColor(30, 60, 110));
    drawWaves(painter, QRect(0, 130, 600, 70), QColor(90, 130, 190));

    // Boats along the quay.
    for (int i = 0; i < 4; ++i) {
        const int x = 40 + i * 130;
        QPainterPath hull;
        hull.moveTo(x, 150);
        hull.lineTo(x + 70, 150);
        hull.lineTo(x + 58, 166);
        hull.lineTo(x + 12, 166);
        hull.closeSubpath();
        painter.setBrush(QColor::fromHsv((i * 80) % 360, 180, 200));
        painter.drawPath(hull);
        painter.setPen(QPen(QColor(60, 40, 30), 2));
        painter.drawLine(x + 35, 150, x + 35, 100);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(250, 245, 230));
        painter.drawPolygon(
            QPolygon({QPoint(x + 37, 102), QPoint(x + 37, 146), QPoint(x + 66, 146)}));
    }

    QFont font(QStringLiteral("DejaVu Sans"), 26, QFont::Bold);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(QRect(0, 12, 600, 50), Qt::AlignHCenter, QStringLiteral("Harbour Days"));
    return image;
}

QImage photo()
{
    QImage image(300, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 140);
    sky.setColorAt(0, QColor(120, 180, 235));
    sky.setColorAt(1, QColor(220, 240, 250));
    painter.fillRect(0, 0, 300, 140, sky);
    painter.fillRect(0, 140, 300, 60, QColor(40, 100, 150));
    drawWaves(painter, QRect(0, 140, 300, 60), QColor(150, 200, 230));

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(110, 100, 90));
    painter.drawPolygon(QPolygon({QPoint(150, 150), QPoint(200, 120), QPoint(260, 125),
                                  QPoint(290, 160), QPoint(140, 165)}));

    // The tower in red and white bands, with its lamp.
    const int left = 205;
    const int width = 30;
    for (int band = 0; band < 5; ++band) {
        painter.setBrush(band % 2 ? QColor(245, 245, 245) : QColor(200, 40, 40));
        painter.drawRect(left + band, 40 + band * 16, width - 2 * band, 16);
    }
    painter.setBrush(QColor(255, 220, 80));
    painter.drawRect(left + 4, 24, width - 8, 16);
    painter.setBrush(QColor(60, 60, 60));
    painter.drawPolygon(QPolygon(
        {QPoint(left - 2, 24), QPoint(left + width + 2, 24), QPoint(left + width / 2, 10)}));

    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawEllipse(QRect(30, 30, 70, 24));
    painter.drawEllipse(QRect(60, 20, 60, 28));
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv); // text needs the font database
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool written =
        banner().save(folder + "/banner.png", "PNG") && photo().save(folder + "/photo.png", "PNG");
    if (!written) {
        std::fprintf(stderr, "cannot write the pictures into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
