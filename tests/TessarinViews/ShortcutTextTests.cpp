#include "TessarinViews/ShortcutText.hpp"

#include "ViewsTestApp.hpp"

namespace tessarin {
namespace {

using ShortcutTextTest = test::WidgetTest;

TEST_F(ShortcutTextTest, SpelledShortcutsBecomeThePlatformsOwnText) {
    struct Row {
        QString spelled;
        QString native;
    };
    const Row rows[] = {
        {QStringLiteral("Start reading (⌘R)"), QStringLiteral("Start reading (Ctrl+R)")},
        {QStringLiteral("Add a datapoint (⇧⌘D)"), QStringLiteral("Add a datapoint (Ctrl+Shift+D)")},
        {QStringLiteral("Delete rows (⌘⌫)"), QStringLiteral("Delete rows (Ctrl+Backspace)")},
        {QStringLiteral("⌘L and ⌘K"), QStringLiteral("Ctrl+L and Ctrl+K")},
        {QStringLiteral("No shortcut here"), QStringLiteral("No shortcut here")},
        // Not shortcuts: kept as written rather than dropped.
        {QStringLiteral("a lone ⌘"), QStringLiteral("a lone ⌘")},
        {QStringLiteral("⇧ alone (⇧R)"), QStringLiteral("⇧ alone (⇧R)")},
        {QStringLiteral("⌘é"), QStringLiteral("⌘é")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.spelled.toStdString());
        EXPECT_EQ(ShortcutText::native(row.spelled), row.native);
    }
    EXPECT_EQ(ShortcutText::sequence(u"⇧⌘S"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    EXPECT_TRUE(ShortcutText::sequence(u"⌘RR").isEmpty());
}

}  // namespace
}  // namespace tessarin
