#include "TessarinViews/Glyph.hpp"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <array>

namespace tessarin {

namespace {

// Every glyph is drawn on a 16 × 16 grid and scaled to its box.
constexpr double grid = 16.0;

void circleDashed(QPainter& p, const QColor& color) {
    QPen pen(color, 1.4);
    pen.setDashPattern({2.0, 1.6});
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
}

void checkmarkCircle(QPainter& p, const QColor& color, const QColor& mark) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(mark, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(std::array{QPointF(5, 8.3), QPointF(7.2, 10.5), QPointF(11, 5.8)}.data(), 3);
}

void exclamationTriangle(QPainter& p, const QColor& color, const QColor& mark) {
    QPainterPath triangle;
    triangle.moveTo(8, 1.5);
    triangle.lineTo(15, 14.2);
    triangle.lineTo(1, 14.2);
    triangle.closeSubpath();
    p.setPen(QPen(color, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(color);
    p.drawPath(triangle);
    p.setPen(QPen(mark, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 5.8), QPointF(8, 9.6));
    p.drawPoint(QPointF(8, 12.1));
}

void pencil(QPainter& p, const QColor& color) {
    p.setPen(QPen(color, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath body;
    body.moveTo(11, 2.5);
    body.lineTo(13.5, 5);
    body.lineTo(5.5, 13);
    body.lineTo(2.5, 13.5);
    body.lineTo(3, 10.5);
    body.closeSubpath();
    p.drawPath(body);
    p.drawLine(QPointF(9.5, 4), QPointF(12, 6.5));
}

void plus(QPainter& p, const QColor& color) {
    p.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 3), QPointF(8, 13));
    p.drawLine(QPointF(3, 8), QPointF(13, 8));
}

void pause(QPainter& p, const QColor& color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRoundedRect(QRectF(4, 3, 3, 10), 1, 1);
    p.drawRoundedRect(QRectF(9, 3, 3, 10), 1, 1);
}

void xmark(QPainter& p, const QColor& color) {
    p.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
}

void networkSlash(QPainter& p, const QColor& color) {
    p.setPen(QPen(color, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(2, 2, 12, 12));
    p.drawEllipse(QRectF(5, 2, 6, 12));
    p.drawLine(QPointF(2, 8), QPointF(14, 8));
    p.setPen(QPen(color, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2, 1.5), QPointF(14, 14.5));
}

void tableCells(QPainter& p, const QColor& color) {
    p.setPen(QPen(color, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1.5, 2.5, 13, 11), 1.5, 1.5);
    p.drawLine(QPointF(1.5, 6.2), QPointF(14.5, 6.2));
    p.drawLine(QPointF(1.5, 9.9), QPointF(14.5, 9.9));
    p.drawLine(QPointF(6, 2.5), QPointF(6, 13.5));
    p.drawLine(QPointF(10, 2.5), QPointF(10, 13.5));
}

void trash(QPainter& p, const QColor& color) {
    p.setPen(QPen(color, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(2.5, 4), QPointF(13.5, 4));
    p.drawLine(QPointF(6, 4), QPointF(6.5, 2));
    p.drawLine(QPointF(6.5, 2), QPointF(9.5, 2));
    p.drawLine(QPointF(9.5, 2), QPointF(10, 4));
    QPainterPath bin;
    bin.moveTo(3.8, 4);
    bin.lineTo(4.6, 14);
    bin.lineTo(11.4, 14);
    bin.lineTo(12.2, 4);
    p.drawPath(bin);
}

void plusSquareOnSquare(QPainter& p, const QColor& color) {
    p.setPen(QPen(color, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1.5, 4.5, 10, 10), 2, 2);
    p.drawPolyline(std::array{QPointF(4.5, 1.5), QPointF(14.5, 1.5), QPointF(14.5, 11.5)}.data(), 3);
    p.drawLine(QPointF(6.5, 7), QPointF(6.5, 12));
    p.drawLine(QPointF(4, 9.5), QPointF(9, 9.5));
}

void chevronUpDown(QPainter& p, const QColor& color) {
    p.setPen(QPen(color, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(std::array{QPointF(5, 6.5), QPointF(8, 3.5), QPointF(11, 6.5)}.data(), 3);
    p.drawPolyline(std::array{QPointF(5, 9.5), QPointF(8, 12.5), QPointF(11, 9.5)}.data(), 3);
}

}  // namespace

void paintGlyph(QPainter& painter, const QRectF& box, Glyph glyph, const QColor& color) {
    const double side = std::min(box.width(), box.height());
    if (side <= 0) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.center().x() - side / 2, box.center().y() - side / 2);
    painter.scale(side / grid, side / grid);
    const QColor mark = Qt::white;
    switch (glyph) {
    case Glyph::circleDashed: circleDashed(painter, color); break;
    case Glyph::checkmarkCircleFill: checkmarkCircle(painter, color, mark); break;
    case Glyph::exclamationTriangle: exclamationTriangle(painter, color, mark); break;
    case Glyph::pencil: pencil(painter, color); break;
    case Glyph::plus: plus(painter, color); break;
    case Glyph::pauseFill: pause(painter, color); break;
    case Glyph::xmark: xmark(painter, color); break;
    case Glyph::networkSlash: networkSlash(painter, color); break;
    case Glyph::tableCells: tableCells(painter, color); break;
    case Glyph::trash: trash(painter, color); break;
    case Glyph::plusSquareOnSquare: plusSquareOnSquare(painter, color); break;
    case Glyph::chevronUpDown: chevronUpDown(painter, color); break;
    }
    painter.restore();
}

QIcon glyphIcon(Glyph glyph, const QColor& color, int side) {
    QIcon icon;
    for (const int scale : {1, 2}) {
        QPixmap pixmap(side * scale, side * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paintGlyph(painter, QRectF(0, 0, side, side), glyph, color);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace tessarin
