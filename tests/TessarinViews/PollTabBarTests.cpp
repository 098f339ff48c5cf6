#include "PollAreaFixture.hpp"

#include "TessarinViews/PollTab.hpp"
#include "TessarinViews/PollTabBar.hpp"
#include "TessarinViews/Tone.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace tessarin::test {
namespace {

class PollTabs : public PollAreaFixture {
protected:
    PollTabBar& bar() const { return area->tabBar(); }
    const PollTab::Look& look(std::size_t index) const { return bar().tabs().at(index)->look(); }
    QAction* menuAction(std::size_t tab, int action) {
        QMenu* menu = bar().makeTabMenu(poll(tab).id, area.get());
        return menu->actions().at(action);
    }
    QColor grey() const { return withOpacity(toneColor(Tone::secondary, bar().palette()), 0.5); }
};

TEST_F(PollTabs, TabsNameTheirPollAndShowWhetherItIsRead) {
    Poll off = pollWith({holdingRegister(0)}, "");
    off.enabled = false;
    makeArea({pollWith({holdingRegister(0)}, "Meter"), off});
    ASSERT_EQ(bar().tabs().size(), 2U);
    EXPECT_EQ(look(0).title, QStringLiteral("Meter"));
    EXPECT_EQ(look(1).title, QStringLiteral("Untitled"));
    EXPECT_FALSE(look(0).paused);
    EXPECT_TRUE(look(1).paused);
    EXPECT_TRUE(look(0).selected);

    QTest::mouseClick(bar().tabs()[1], Qt::LeftButton);
    EXPECT_EQ(model->selectedPollID(), poll(1).id);
    EXPECT_TRUE(look(1).selected);
    EXPECT_EQ(bar().nameField()->text(), QString());
    QTest::keyClicks(bar().nameField(), QStringLiteral("Spare"));
    EXPECT_EQ(poll(1).name, "Spare");
    bar().activeToggle()->click();
    EXPECT_TRUE(poll(1).enabled);
    bar().intervalPicker()->setCurrentIndex(0);
    Q_EMIT bar().intervalPicker()->activated(0);
    EXPECT_EQ(poll(1).intervalMs, 100);
}

TEST_F(PollTabs, DotsShowHealthOnlyWhileAnEnabledPollIsRead) {
    Poll off = pollWith({holdingRegister(0)}, "Off");
    off.enabled = false;
    makeArea({pollWith({holdingRegister(0)}, "On"), off});
    EXPECT_EQ(look(0).dot, grey());
    startReading();
    QCoreApplication::processEvents();
    EXPECT_EQ(look(0).dot, grey());  // nothing read yet
    deliver(readOK(poll(), {.address = 0, .count = 1}, {1}));
    QCoreApplication::processEvents();
    EXPECT_EQ(look(0).dot, toneColor(Tone::green, bar().palette()));
    deliver(readFailed(poll(), {.address = 0, .count = 1}, PollFailure::timeout()));
    QCoreApplication::processEvents();
    EXPECT_EQ(look(0).dot, toneColor(Tone::orange, bar().palette()));
    EXPECT_EQ(look(1).dot, grey());
    model->stop();
    QCoreApplication::processEvents();
    EXPECT_EQ(look(0).dot, grey());
}

TEST_F(PollTabs, RemovingAsksFirstAndTheLastPollStays) {
    makeArea({pollWith({}, "Only")});
    EXPECT_FALSE(menuAction(0, 1)->isEnabled());
    menuAction(0, 0)->trigger();  // duplicate
    ASSERT_EQ(model->polls().size(), 2U);
    EXPECT_EQ(look(1).title, QStringLiteral("Only (copy)"));
    EXPECT_TRUE(look(1).selected);

    for (const bool confirm : {false, true}) {
        SCOPED_TRACE(confirm);
        QAction* remove = menuAction(1, 1);
        ASSERT_TRUE(remove->isEnabled());
        remove->trigger();
        QMessageBox* box = bar().removeConfirmation();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QStringLiteral("Remove poll?"));
        const auto buttons = box->buttons();
        const auto wanted = std::ranges::find_if(buttons, [&](QAbstractButton* button) {
            return button->text() == (confirm ? QStringLiteral("Remove") : QStringLiteral("Cancel"));
        });
        ASSERT_NE(wanted, buttons.end());
        (*wanted)->click();
        EXPECT_EQ(model->polls().size(), confirm ? 1U : 2U);
    }
    EXPECT_EQ(bar().tabs().size(), 1U);

    bar().newPollButton()->click();
    ASSERT_EQ(model->polls().size(), 2U);
    EXPECT_EQ(model->selectedPollID(), poll(1).id);
    EXPECT_TRUE(area->showsEmptyView());
}

}  // namespace
}  // namespace tessarin::test
