#include "TessarinViews/HelpView.hpp"

#include "Localization/HelpTopics.hpp"
#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/Assets.hpp"
#include "TessarinViews/HelpScreenshotView.hpp"
#include "TessarinViews/HelpTopicView.hpp"
#include "ViewsTestApp.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace tessarin {
namespace {

class HelpViewTest : public test::WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        view = std::make_unique<HelpView>();
    }

    void type(const QString& text) {
        view->searchField()->clear();
        QTest::keyClicks(view->searchField(), text);
    }

    [[nodiscard]] QStringList listedTitles() const {
        QStringList titles;
        for (int row = 0; row < view->topicList()->count(); ++row) {
            titles << view->topicList()->item(row)->text();
        }
        return titles;
    }

    [[nodiscard]] QString currentTitle() const {
        const QListWidgetItem* item = view->topicList()->currentItem();
        return item == nullptr ? QString() : item->text();
    }

    [[nodiscard]] QString detailTitle() const { return view->topicView()->titleLabel()->text(); }

    [[nodiscard]] QString detailText() const {
        QString text;
        for (const QLabel* label : view->topicView()->findChildren<QLabel*>()) {
            text += label->text() + u'\n';
        }
        return text;
    }

    std::unique_ptr<HelpView> view;
};

TEST_F(HelpViewTest, SearchingListsTheMatchingTopicsAndKeepsAValidSelection) {
    ASSERT_EQ(detailTitle(), QStringLiteral("Getting started"));

    type(QStringLiteral("crc"));
    EXPECT_EQ(listedTitles(), QStringList{QStringLiteral("RTU over TCP")})
        << "its bullets name the CRC error";
    EXPECT_EQ(currentTitle(), QStringLiteral("RTU over TCP"));
    EXPECT_EQ(detailTitle(), QStringLiteral("RTU over TCP"));

    // A selection the new list still holds stays, however the search changes.
    type(QStringLiteral("  TCP "));
    EXPECT_GT(listedTitles().size(), 1);
    EXPECT_EQ(currentTitle(), QStringLiteral("RTU over TCP"));

    type(QStringLiteral("no such words anywhere"));
    EXPECT_FALSE(view->listShown());
    EXPECT_EQ(view->noResultsLabel()->text(), QStringLiteral("No topics found"));
    EXPECT_EQ(detailTitle(), QStringLiteral("RTU over TCP")) << "the detail stays as it was";

    type(QString());
    EXPECT_TRUE(view->listShown());
    EXPECT_EQ(listedTitles().size(), static_cast<qsizetype>(L10n::Help::topics().size()));
    EXPECT_EQ(currentTitle(), QStringLiteral("RTU over TCP"));
}

TEST_F(HelpViewTest, SearchIgnoresCaseAndMarkdownAndPicksTheFirstMatchWhenTheSelectionGoes) {
    type(QStringLiteral("save log"));
    ASSERT_FALSE(listedTitles().isEmpty());
    EXPECT_TRUE(listedTitles().contains(QStringLiteral("Keyboard shortcuts")));
    EXPECT_EQ(currentTitle(), listedTitles().front());

    // "the **Value** column" is found as the reader sees it.
    type(QStringLiteral("value column"));
    EXPECT_TRUE(listedTitles().contains(QStringLiteral("Getting started")));
}

TEST_F(HelpViewTest, ClickingATopicShowsItWithShortcutsSpelledForThisPlatformAndSelectableText) {
    const QList<QListWidgetItem*> items =
        view->topicList()->findItems(QStringLiteral("Keyboard shortcuts"), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    view->resize(900, 640);
    view->show();
    QTest::mouseClick(view->topicList()->viewport(), Qt::LeftButton, {},
                      view->topicList()->visualItemRect(items.front()).center());
    ASSERT_EQ(detailTitle(), QStringLiteral("Keyboard shortcuts"));

    const QString text = detailText();
    EXPECT_TRUE(text.contains(QStringLiteral("Ctrl+R"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Ctrl+?")));
    EXPECT_TRUE(text.contains(QStringLiteral("Ctrl+Shift+I / Ctrl+Shift+E")));
    EXPECT_FALSE(text.contains(u'⌘'));
    for (const QLabel* label : view->topicView()->findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            EXPECT_TRUE(label->textInteractionFlags().testFlag(Qt::TextSelectableByMouse))
                << label->text().toStdString();
        }
    }
}

TEST_F(HelpViewTest, EveryBlockKindIsShownAndAScreenshotOnlyWithItsImage) {
    HelpTopicView page;
    HelpTopic topic{"all",
                    "Every kind",
                    "lightbulb.fill",
                    {HelpBlock::paragraph("A **bold** and *unbalanced"), HelpBlock::heading("Heading"),
                     HelpBlock::bullets({"one", "`two`"}), HelpBlock::table({{"Key", "*value*"}}),
                     HelpBlock::tip("Tip text"), HelpBlock::screenshot("no-such-picture", "Caption")}};
    page.setTopic(topic, Language::de);
    const QStringList texts = [&] {
        QStringList all;
        for (const QLabel* label : page.findChildren<QLabel*>()) {
            all << label->text();
        }
        return all;
    }();
    for (const QString& expected :
         {QStringLiteral("Every kind"), QStringLiteral("A <b>bold</b> and *unbalanced"),
          QStringLiteral("Heading"), QStringLiteral("one"), QStringLiteral("<code>two</code>"),
          QStringLiteral("<b>Key</b>"), QStringLiteral("<i>value</i>"), QStringLiteral("Tipp"),
          QStringLiteral("Tip text")}) {
        EXPECT_TRUE(texts.contains(expected)) << expected.toStdString();
    }
    EXPECT_FALSE(texts.contains(QStringLiteral("Caption"))) << "no image, no caption";
    EXPECT_TRUE(page.findChildren<HelpScreenshotView*>().isEmpty());

    // The shipped pictures, where they exist, show with their caption.
    const HelpTopic& start = L10n::Help::topics().front();
    page.setTopic(start, Language::en);
    const bool hasPicture = Assets::helpScreenshotPath(u"overview", Language::en).has_value();
    EXPECT_EQ(page.findChildren<HelpScreenshotView*>().size(), hasPicture ? 1 : 0);
}

}  // namespace
}  // namespace tessarin
