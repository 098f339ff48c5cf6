#include "ViewsTestApp.hpp"

#include "TessarinViews/TessarinStyle.hpp"
#include "TessarinViews/Theme.hpp"
#include "support/DarkPalette.hpp"
#include "support/PixelCounts.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QStyleOptionButton>

#include <gtest/gtest.h>

namespace tessarin::test {
namespace {

using TessarinStyleTest = WidgetTest;

// The indicator of a check box as it stands on screen, and the colour just outside it.
struct Indicator {
    QImage shot;
    QRect box;
    QColor behind;
};

Indicator indicatorOf(QCheckBox& box) {
    box.adjustSize();
    QStyleOptionButton option;
    option.initFrom(&box);
    Indicator indicator;
    indicator.box = box.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &box);
    indicator.shot = box.grab().toImage();
    indicator.behind = indicator.shot.pixelColor(0, 0);
    return indicator;
}

TEST_F(TessarinStyleTest, CheckBoxesReadOnLightAndDarkWindowsAndShowTheirState) {
    TessarinStyle style(QStringLiteral("Fusion"));
    for (const bool dark : {false, true}) {
        for (const bool checked : {false, true}) {
            for (const bool enabled : {true, false}) {
                SCOPED_TRACE(::testing::Message()
                             << (dark ? "dark" : "light") << (checked ? ", ticked" : ", empty")
                             << (enabled ? "" : ", disabled"));
                QCheckBox box(QStringLiteral("Active"));
                box.setStyle(&style);
                box.setPalette(dark ? darkPalette() : QApplication::palette());
                box.setChecked(checked);
                box.setEnabled(enabled);
                const Indicator shown = indicatorOf(box);
                ASSERT_FALSE(shown.box.isEmpty());
                // A 14-point box's outline alone is some 50 pixels; Fusion's empty box on a dark
                // window left next to none of them. A disabled box steps back but stays.
                EXPECT_GT(pixelsApartFrom(shown.shot, shown.box, shown.behind), enabled ? 30 : 0);
                const int themed = pixelsNear(shown.shot, shown.box, Theme::color());
                if (checked && enabled) {
                    EXPECT_GT(themed, 60);
                } else if (!checked) {
                    EXPECT_LT(themed, 10);
                }
            }
        }
    }
}

TEST_F(TessarinStyleTest, InstallsItselfOnceAndNeverOverItself) {
    TessarinStyle::install();
    auto* installed = qobject_cast<TessarinStyle*>(QApplication::style());
    ASSERT_NE(installed, nullptr);
    EXPECT_EQ(qobject_cast<TessarinStyle*>(installed->baseStyle()), nullptr);
    TessarinStyle::install();
    EXPECT_EQ(QApplication::style(), installed);
}

}  // namespace
}  // namespace tessarin::test
