#include "TessarinViews/BottomPaneView.hpp"

#include "ModbusCore/Bytes.hpp"
#include "ModbusCore/MBAPHeader.hpp"
#include "TessarinModel/ChartSeries.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/ChartPane.hpp"
#include "TessarinViews/ChartPeriodPicker.hpp"
#include "TessarinViews/OutputArea.hpp"
#include "TessarinViews/PaneHeader.hpp"
#include "TessarinViews/ThemedButton.hpp"
#include "TessarinViews/ThemedPickerBox.hpp"
#include "WindowFixture.hpp"
#include "support/FreePort.hpp"

#include <QAction>
#include <QDateTimeAxis>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineSeries>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QValueAxis>

namespace tessarin {
namespace {

using namespace std::chrono_literals;

class BottomPaneTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        pane = std::make_unique<BottomPaneView>(model());
        pane->resize(800, 260);
    }

    void TearDown() override {
        pane.reset();
        model().stop();
        WindowTest::TearDown();
    }

    [[nodiscard]] const Poll& poll() const { return *app->model().selectedPoll(); }
    [[nodiscard]] const Datapoint& temperature() const { return poll().datapoints.front(); }

    // Reading runs against a port that refuses, so that the model takes the reads a test hands it.
    void startReading() {
        model().setHost(QStringLiteral("127.0.0.1"));
        model().setPortText(QString::number(closedPort.port()));
        model().start();
        ASSERT_NE(model().state(), PollerState::stopped);
    }

    // One good read of the temperature (input register 0, Int16, scale 0.1).
    void readTemperature(std::uint16_t raw) {
        const ReadBlock block{.unit = 1, .table = RegisterTable::inputRegister, .address = 0, .count = 1};
        std::vector<std::uint8_t> response{0x04, 0x02};
        appendUInt16(response, raw);
        model().handle({PollerEvent::Read{.poll = poll().id,
                                          .block = block,
                                          .result = PDU::ReadData::registers({raw}),
                                          .request = MBAPHeader::message(1, 1, block.pdu()),
                                          .response = MBAPHeader::message(1, 1, response),
                                          .duration = 0.01}});
    }

    void choosePane(BottomPane choice) { pane->header()->paneAction(choice)->trigger(); }

    test::ClosedPort closedPort;
    std::unique_ptr<BottomPaneView> pane;
};

TEST_F(BottomPaneTest, TheHeaderNamesTheContentAndOffersTheHistoryOnlyWithTheChart) {
    pane->show();
    PaneHeader& header = *pane->header();
    EXPECT_EQ(pane->pane(), BottomPane::log) << "the log at first start";
    EXPECT_EQ(header.menuButton()->text(), QStringLiteral("Log"));
    EXPECT_TRUE(pane->outputArea()->isVisible());
    EXPECT_FALSE(header.clearHistoryButton()->isVisible());
    EXPECT_FALSE(header.exportHistoryButton()->isVisible());

    choosePane(BottomPane::chart);
    EXPECT_EQ(header.menuButton()->text(), QStringLiteral("Chart"));
    EXPECT_TRUE(pane->chartPane()->isVisible());
    EXPECT_FALSE(pane->outputArea()->isVisible());
    EXPECT_EQ(header.clearHistoryButton()->text(), QStringLiteral("Clear History"));
    EXPECT_EQ(header.exportHistoryButton()->text(), QStringLiteral("Export History (CSV)…"));
    EXPECT_TRUE(header.exportHistoryButton()->isVisible());
    EXPECT_TRUE(header.periodPicker()->isVisible());
}

TEST_F(BottomPaneTest, PaneAndPeriodSurviveARestartAndUnusableStoredValuesReadAsDefaults) {
    choosePane(BottomPane::chart);
    pane->header()->periodPicker()->box()->setCurrentIndex(0);
    pane.reset();
    pane = std::make_unique<BottomPaneView>(model());
    EXPECT_EQ(pane->pane(), BottomPane::chart);
    EXPECT_EQ(pane->header()->periodPicker()->window(), 60);
    EXPECT_EQ(pane->chartPane()->window(), 60);
    EXPECT_EQ(pane->header()->periodPicker()->box()->currentText(), QStringLiteral("1 min"));

    struct Row {
        const char* name;
        QVariant pane;
        QVariant window;
        BottomPane expectedPane;
        int expectedWindow;
    };
    const Row rows[] = {
        {"nothing stored", {}, {}, BottomPane::log, 300},
        {"every period", QStringLiteral("chart"), 0, BottomPane::chart, 0},
        {"an hour", QStringLiteral("log"), 3600, BottomPane::log, 3600},
        {"unknown names and periods", QStringLiteral("table"), 42, BottomPane::log, 300},
        {"wrong case and text", QStringLiteral("Chart"), QStringLiteral("abc"), BottomPane::log, 300},
        {"negative period", QStringLiteral("chart"), -60, BottomPane::chart, 300},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        pane.reset();
        QSettings settings;
        settings.remove(QStringLiteral("bottomPane"));
        settings.remove(QStringLiteral("chartWindow"));
        if (row.pane.isValid()) {
            settings.setValue(QStringLiteral("bottomPane"), row.pane);
        }
        if (row.window.isValid()) {
            settings.setValue(QStringLiteral("chartWindow"), row.window);
        }
        pane = std::make_unique<BottomPaneView>(model());
        EXPECT_EQ(pane->pane(), row.expectedPane);
        EXPECT_EQ(pane->chartPane()->window(), row.expectedWindow);
    }
}

TEST_F(BottomPaneTest, WithoutAPlottedDatapointTheChartHasNothingToShow) {
    choosePane(BottomPane::chart);
    pane->show();
    startReading();
    readTemperature(215);
    model().setPlotted(false, temperature().id);
    ChartPane& chart = *pane->chartPane();
    ASSERT_TRUE(QTest::qWaitFor([&] { return chart.showsEmptyState(); }));
    EXPECT_TRUE(chart.currentSeries().empty());
    const QLabel* title = chart.findChild<QLabel*>(QStringLiteral("chartEmptyTitle"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QStringLiteral("Nothing to show yet"));
    EXPECT_TRUE(title->isVisible());
}

TEST_F(BottomPaneTest, ThePeriodHidesOlderSamplesWhichStayRecordedAndExported) {
    choosePane(BottomPane::chart);
    pane->show();
    ChartPane& chart = *pane->chartPane();
    ASSERT_TRUE(chart.showsEmptyState()) << "nothing recorded yet";
    startReading();
    readTemperature(215);
    readTemperature(230);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !chart.showsEmptyState(); }));
    ASSERT_EQ(chart.lines().size(), 1U);
    const QLineSeries& line = *chart.lines().front();
    EXPECT_EQ(line.name(), QStringLiteral("Temperature (°C)"));
    ASSERT_EQ(line.count(), 2);
    EXPECT_DOUBLE_EQ(line.at(0).y(), 21.5);
    EXPECT_DOUBLE_EQ(line.at(1).y(), 23.0);
    EXPECT_LE(chart.valueAxis()->min(), 21.5);
    EXPECT_GE(chart.valueAxis()->max(), 23.0);
    EXPECT_GT(chart.valueAxis()->min(), 15.0) << "the value axis hugs the data instead of reaching for zero";

    // Two minutes later the one-minute period holds none of them; everything recorded does.
    const auto later = std::chrono::system_clock::now() + 2min;
    chart.setClock([later] { return later; });
    pane->header()->periodPicker()->setWindow(60);
    ASSERT_TRUE(QTest::qWaitFor([&] { return chart.showsEmptyState(); }));
    EXPECT_EQ(model().history().samples(temperature().id).size(), 2U);
    pane->header()->periodPicker()->setWindow(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !chart.showsEmptyState(); }));
    EXPECT_EQ(chart.lines().front()->count(), 2);

    pane->header()->periodPicker()->setWindow(60);
    ASSERT_TRUE(QTest::qWaitFor([&] { return chart.showsEmptyState(); }));
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("history.csv"));
    whenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QTest::mouseClick(pane->header()->exportHistoryButton(), Qt::LeftButton);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList rows =
        QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 3) << "the header and both samples";
    EXPECT_TRUE(rows[1].contains(QStringLiteral("21.5")));
    EXPECT_TRUE(rows[2].contains(QStringLiteral(",23,")));
}

TEST_F(BottomPaneTest, TheTimeAxisEndsNowForAPeriodAndStartsAtTheFirstSampleForAll) {
    using std::chrono::system_clock;
    ChartPane& chart = *pane->chartPane();
    const system_clock::time_point now = system_clock::now();
    chart.setClock([now] { return now; });
    const auto milliseconds = [](system_clock::time_point time) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
    };
    const auto seriesAt = [&](std::initializer_list<std::chrono::seconds> ago) {
        ChartSeries one{.id = temperature().id, .name = QStringLiteral("Temperature (°C)"), .samples = {}};
        for (const std::chrono::seconds age : ago) {
            one.samples.push_back({now - age, 21.5});
        }
        return std::vector<ChartSeries>{one};
    };
    struct Row {
        const char* name;
        int window;
        std::vector<ChartSeries> series;
        system_clock::time_point from;
        system_clock::time_point to;
    };
    const std::vector<Row> rows{
        {"a minute ends now", 60, seriesAt({50s, 10s}), now - 60s, now},
        {"an hour ends now however little is recorded", 3600, seriesAt({5s}), now - 1h, now},
        {"all spans the history exactly", 0, seriesAt({600s, 300s, 10s}), now - 600s, now - 10s},
        {"all of a short history starts at it and spans a minute", 0, seriesAt({5s, 4s}), now - 5s,
         now + 55s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        chart.setWindow(row.window);
        chart.draw(row.series);
        EXPECT_EQ(chart.timeAxis()->min().toMSecsSinceEpoch(), milliseconds(row.from));
        EXPECT_EQ(chart.timeAxis()->max().toMSecsSinceEpoch(), milliseconds(row.to));
    }

    // The same from what the model recorded.
    choosePane(BottomPane::chart);
    pane->show();
    chart.setClock([] { return system_clock::now(); });
    pane->header()->periodPicker()->setWindow(0);
    startReading();
    readTemperature(215);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !chart.showsEmptyState(); }));
    const system_clock::time_point first = model().history().samples(temperature().id)[0].time;
    EXPECT_EQ(chart.timeAxis()->min().toMSecsSinceEpoch(), milliseconds(first));
}

TEST_F(BottomPaneTest, ClearHistoryEmptiesTheChartAtOnce) {
    choosePane(BottomPane::chart);
    pane->show();
    startReading();
    readTemperature(215);
    ChartPane& chart = *pane->chartPane();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !chart.showsEmptyState(); }));
    QTest::mouseClick(pane->header()->clearHistoryButton(), Qt::LeftButton);
    EXPECT_TRUE(model().history().empty());
    QCoreApplication::processEvents();
    EXPECT_TRUE(chart.showsEmptyState());
}

}  // namespace
}  // namespace tessarin
