#include "PollAreaFixture.hpp"

#include "TessarinViews/DatapointTableView.hpp"
#include "TessarinViews/NoticeBanner.hpp"
#include "TessarinViews/NoticeBanners.hpp"

#include <QToolButton>

namespace tessarin::test {
namespace {

class NoticeBanners : public PollAreaFixture {
protected:
    void SetUp() override {
        PollAreaFixture::SetUp();
        std::vector<Datapoint> points;
        for (std::uint16_t a = 0; a < 40; ++a) points.push_back(holdingRegister(a));
        makeArea({pollWith(points)});
        startReading();
    }

    tessarin::NoticeBanners& banners() const { return area->banners(); }
    void timeouts(int count) {
        for (int i = 0; i < count; ++i) deliver(readFailed(poll(), {.address = 0, .count = 1}, PollFailure::timeout()));
    }
    QRect inArea(const QWidget& widget) const { return QRect(widget.mapTo(area.get(), QPoint()), widget.size()); }

    void failAWrite() {
        model->write(poll().datapoints.front(), 5);
        ASSERT_EQ(model->pendingWrites().size(), 1U);
        deliver(wroteFailed(model->pendingWrites().begin()->first, PollFailure::exception(2)));
    }
};

TEST_F(NoticeBanners, TheConnectionProblemShowsUntilTheModelClearsIt) {
    EXPECT_FALSE(banners().connectionBanner().shown());
    deliver({PollerEvent::ConnectionFailed{"Connection refused"}});
    ASSERT_TRUE(banners().connectionBanner().shown());
    EXPECT_TRUE(banners().connectionBanner().text().startsWith(QStringLiteral("Connection refused")));
    EXPECT_TRUE(banners().connectionBanner().text().contains(QStringLiteral("tries again every few seconds")));
    EXPECT_EQ(banners().connectionBanner().dismissButton(), nullptr);
    deliver({PollerEvent::Connected{"127.0.0.1:502"}});
    EXPECT_FALSE(banners().connectionBanner().shown());
}

TEST_F(NoticeBanners, TheNoResponseHintStaysDismissedUntilTheNextStart) {
    timeouts(2);
    EXPECT_FALSE(banners().noResponseBanner().shown());
    timeouts(1);
    ASSERT_TRUE(banners().noResponseBanner().shown());
    deliver({PollerEvent::ConnectionFailed{"Connection refused"}});
    // The connection problem stands above the hint.
    EXPECT_LT(inArea(banners().connectionBanner()).bottom(), inArea(banners().noResponseBanner()).top());

    banners().noResponseBanner().dismissButton()->click();
    EXPECT_FALSE(model->showNoResponseHint());
    EXPECT_FALSE(banners().noResponseBanner().shown());
    timeouts(3);
    EXPECT_FALSE(banners().noResponseBanner().shown());
    model->stop();
    startReading();
    timeouts(3);
    EXPECT_TRUE(banners().noResponseBanner().shown());
}

TEST_F(NoticeBanners, AFailedWriteShowsAtTheFootAndComesBackWithTheNextFailure) {
    failAWrite();
    ASSERT_TRUE(banners().writeErrorBanner().shown());
    const QString first = banners().writeErrorBanner().text();
    EXPECT_TRUE(first.contains(QStringLiteral("failed")));
    banners().writeErrorBanner().dismissButton()->click();
    EXPECT_FALSE(model->writeError());
    EXPECT_FALSE(banners().writeErrorBanner().shown());

    Datapoint renamed = poll().datapoints.front();
    model->editDatapoint(renamed.id, [](Datapoint& p) { p.name = "Setpoint"; });
    failAWrite();
    ASSERT_TRUE(banners().writeErrorBanner().shown());
    EXPECT_NE(banners().writeErrorBanner().text(), first);
    EXPECT_TRUE(banners().writeErrorBanner().text().contains(QStringLiteral("Setpoint")));
}

TEST_F(NoticeBanners, TheTableKeepsItsLastRowClearOfTheBanners) {
    EXPECT_EQ(area->table().bottomInset(), 0);
    deliver({PollerEvent::ConnectionFailed{"Connection refused"}});
    timeouts(3);
    failAWrite();
    const int covered = banners().coveredHeight();
    ASSERT_GT(covered, 0);
    EXPECT_EQ(area->table().bottomInset(), covered);
    const QRect viewport = inArea(*area->table().viewport());
    for (const NoticeBanner* banner : {&banners().connectionBanner(), &banners().noResponseBanner(),
                                       &banners().writeErrorBanner()}) {
        EXPECT_LE(viewport.bottom(), inArea(*banner).top());
        EXPECT_LE(inArea(*banner).width(), NoticeBanner::maxWidth);
    }
    model->stop();
    EXPECT_EQ(area->table().bottomInset(), banners().coveredHeight());
}

}  // namespace
}  // namespace tessarin::test
