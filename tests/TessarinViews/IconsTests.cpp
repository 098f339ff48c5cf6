#include "TessarinViews/Icons.hpp"

#include "ViewsTestApp.hpp"

#include <QImage>
#include <QPainter>

namespace tessarin {
namespace {

class IconsTest : public test::WidgetTest {};

// Every symbol the windows, the table, the notices and the help name.
constexpr const char16_t* namedSymbols[] = {
    u"play.fill",          u"stop.fill",     u"pause.fill",    u"slider.horizontal.3",
    u"plus",               u"plus.square.on.square",           u"trash",
    u"tablecells",         u"circle.dashed", u"circle.fill",   u"checkmark.circle.fill",
    u"exclamationmark.triangle.fill",        u"pencil",        u"text.alignleft",
    u"chart.xyaxis.line",  u"arrow.triangle.2.circlepath",     u"network.slash",
    u"xmark",              u"lightbulb.fill", u"magnifyingglass", u"arrow.left.arrow.right",
    u"doc.text",           u"play.circle",   u"square.stack",  u"wrench.and.screwdriver",
    u"chevron.up.chevron.down",
};

int opaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
        }
    }
    return count;
}

TEST_F(IconsTest, EverySymbolIsDrawnAndTakesItsTintInBothThemes) {
    for (const char16_t* name : namedSymbols) {
        const QString symbol = QString::fromUtf16(name);
        SCOPED_TRACE(symbol.toStdString());
        ASSERT_TRUE(Icons::hasSymbol(symbol));
        for (const QColor tint : {QColor(Qt::black), QColor(240, 240, 240)}) {
            const QImage image = Icons::symbolPixmap(symbol, tint, QSize(32, 32)).toImage();
            ASSERT_EQ(image.size(), QSize(32, 32));
            EXPECT_GT(opaquePixels(image), 20) << "the drawing shows";
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QColor pixel = image.pixelColor(x, y);
                    if (pixel.alpha() > 200) {
                        ASSERT_LE(std::abs(pixel.red() - tint.red()), 3) << "no colour but the tint";
                    }
                }
            }
        }
    }
}

TEST_F(IconsTest, AWhiteStrokeCutsAHoleInAFilledSymbol) {
    const QImage image = Icons::symbolPixmap(u"checkmark.circle.fill", Qt::red, QSize(64, 64)).toImage();
    // The tick passes through (30, 40) of 64 (7/16, 10/16 of the drawing); the circle around it is solid.
    EXPECT_LT(qAlpha(image.pixel(28, 40)), 64);
    EXPECT_GT(qAlpha(image.pixel(32, 12)), 200);
}

// The bounds of what was drawn, in device pixels.
QRect drawnBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 128) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

TEST_F(IconsTest, APaintedSymbolFillsTheMiddleOfItsBoxAtThePaintersPixelRatio) {
    struct Row {
        const char* what;
        qreal ratio;
        QRectF box;
    };
    for (const Row& row : {Row{"table cell", 1.0, QRectF(10, 6, 14, 14)},
                           Row{"sharp screen, fractional box", 2.0, QRectF(10.4, 6.6, 14, 14)},
                           Row{"wide box", 1.0, QRectF(4, 4, 40, 16)},
                           Row{"tall box on a sharp screen", 2.0, QRectF(4, 2, 12, 28)}}) {
        SCOPED_TRACE(row.what);
        QImage canvas(QSize(48, 32) * row.ratio, QImage::Format_ARGB32_Premultiplied);
        canvas.setDevicePixelRatio(row.ratio);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        // The rounded square with its outline covers 2.5 to 13.5 of the drawing's 16 units.
        Icons::paintSymbol(painter, row.box, u"stop.fill", Qt::red);
        painter.end();
        const QRect drawn = drawnBounds(canvas);
        const double side = std::min(row.box.width(), row.box.height()) * row.ratio;
        const QPointF centre = row.box.center() * row.ratio;
        EXPECT_NEAR(drawn.width(), side * 11 / 16, 2.0) << "neither stretched nor shrunk";
        EXPECT_NEAR(drawn.height(), side * 11 / 16, 2.0);
        EXPECT_NEAR(QRectF(drawn).center().x() + 0.5, centre.x(), 1.5) << "centred in the box";
        EXPECT_NEAR(QRectF(drawn).center().y() + 0.5, centre.y(), 1.5);
    }
}

TEST_F(IconsTest, ABoxWithoutRoomForAPixelDrawsNothing) {
    QImage canvas(16, 16, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    Icons::paintSymbol(painter, QRectF(2, 2, 0.6, 12), u"stop.fill", Qt::red);
    Icons::paintSymbol(painter, QRectF(2, 2, 12, -3), u"stop.fill", Qt::red);
    painter.end();
    EXPECT_TRUE(drawnBounds(canvas).isNull());
}

// The renderings are kept between paints; asking again with another tint, size, ratio or mode
// must not hand back an earlier one.
TEST_F(IconsTest, RepeatedRequestsKeepTintsSizesAndRatiosApart) {
    const auto middle = [](const QPixmap& pixmap) {
        const QImage image = pixmap.toImage();
        return image.pixelColor(image.width() / 2, image.height() / 2);
    };
    const QPixmap red = Icons::symbolPixmap(u"stop.fill", Qt::red, QSize(16, 16));
    EXPECT_EQ(middle(red), QColor(Qt::red));
    EXPECT_EQ(middle(Icons::symbolPixmap(u"stop.fill", Qt::blue, QSize(16, 16))), QColor(Qt::blue));
    EXPECT_EQ(middle(Icons::symbolPixmap(u"stop.fill", QColor(255, 0, 0, 100), QSize(16, 16))).alpha(), 100);
    EXPECT_EQ(Icons::symbolPixmap(u"stop.fill", Qt::red, QSize(24, 24)).size(), QSize(24, 24));
    const QPixmap sharp = Icons::symbolPixmap(u"stop.fill", Qt::red, QSize(16, 16), 2.0);
    EXPECT_EQ(sharp.size(), QSize(32, 32));
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_EQ(Icons::symbolPixmap(u"stop.fill", Qt::red, QSize(16, 16)).devicePixelRatio(), 1.0);

    const QIcon icon = Icons::symbolIcon(u"stop.fill", QColor(Qt::red));
    const int normal = middle(icon.pixmap(16, QIcon::Normal)).alpha();
    const int disabled = middle(icon.pixmap(16, QIcon::Disabled)).alpha();
    EXPECT_EQ(normal, 255);
    EXPECT_LT(disabled, 128) << "the disabled mode is fainter";
}

TEST_F(IconsTest, UnknownNamesHaveNoDrawing) {
    EXPECT_FALSE(Icons::hasSymbol(u"play.fil"));
    EXPECT_FALSE(Icons::hasSymbol(u""));
    EXPECT_FALSE(Icons::applicationIcon().isNull());
}

}  // namespace
}  // namespace tessarin
