#include "TessarinViews/Icons.hpp"

#include "ViewsTestApp.hpp"

#include <QImage>

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

TEST_F(IconsTest, UnknownNamesHaveNoDrawing) {
    EXPECT_FALSE(Icons::hasSymbol(u"play.fil"));
    EXPECT_FALSE(Icons::hasSymbol(u""));
    EXPECT_FALSE(Icons::applicationIcon().isNull());
}

}  // namespace
}  // namespace tessarin
