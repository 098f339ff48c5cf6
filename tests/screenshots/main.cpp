// Draws the main window in the states a newcomer meets first and in those people see most
// while they work (live values, a failing device with its banners, the write editor, a poll
// without datapoints), for the README and the AppStream metainfo:
// tessarin-screenshots <folder> <suffix> [dark]. With --help-pictures <folder> <language> it
// draws the pictures the help shows instead, reading the application's own demo device. The
// language comes from LANGUAGE as in the application; scripts/screenshots runs it under a
// virtual display.
#include "ModbusCore/Bytes.hpp"
#include "ModbusCore/MBAPHeader.hpp"
#include "TessarinModel/DemoDevice.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/BottomPaneView.hpp"
#include "TessarinViews/ChartPane.hpp"
#include "TessarinViews/ChartPeriodPicker.hpp"
#include "TessarinViews/ConnectionBar.hpp"
#include "TessarinViews/ConnectionSettingsPopover.hpp"
#include "TessarinViews/DatapointColumn.hpp"
#include "TessarinViews/DatapointTableView.hpp"
#include "TessarinViews/FooterBar.hpp"
#include "TessarinViews/LogOptionsPopover.hpp"
#include "TessarinViews/MainWindow.hpp"
#include "TessarinViews/PaneHeader.hpp"
#include "TessarinViews/PollArea.hpp"
#include "TessarinViews/TessarinApplication.hpp"
#include "TessarinViews/WriteEditor.hpp"
#include "support/DarkPalette.hpp"
#include "support/FreePort.hpp"

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QLineSeries>
#include <QPainter>
#include <QSplitter>
#include <QStyleFactory>
#include <QTest>

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {

using namespace tessarin;

// The window with an open popover drawn where it stands on the screen.
QImage capture(QWidget& window, QWidget* popover = nullptr) {
    QCoreApplication::processEvents();
    QImage image = window.grab().toImage();
    if (popover != nullptr && popover->isVisible()) {
        const QPoint at = window.mapFromGlobal(popover->pos());
        const QRect needed = QRect(QPoint(), image.size()).united(QRect(at, popover->size()));
        QImage canvas(needed.size(), QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        painter.drawImage(-needed.topLeft(), image);
        painter.drawPixmap(at - needed.topLeft(), popover->grab());
        painter.end();
        image = canvas;
    }
    return image;
}

bool save(const QImage& image, const QString& folder, const QString& name, const QString& suffix) {
    const QString path = folder + u'/' + name + u'-' + suffix + QStringLiteral(".png");
    const bool saved = image.save(path);
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

// The help shows its pictures at most this wide; drawing them at that width keeps the
// repository small and the texts as sharp as the help will show them.
constexpr int helpPictureWidth = 900;
// The chart's shortest period, and enough samples, one a second, to fill most of it.
constexpr int helpChartPeriod = 60;
constexpr int helpChartSamples = 55;

// Longer datapoint names of some languages do not fit the name column's first width; columns
// with room to spare give it theirs, as a person would drag them.
void widenNameColumn(MainWindow& window) {
    const int name = static_cast<int>(DatapointColumn::name);
    for (auto* table : window.findChildren<DatapointTableView*>()) {
        const QAbstractItemModel& rows = *table->model();
        const QFontMetrics metrics = table->fontMetrics();
        const auto widest = [&](int column) {
            int width = table->horizontalHeader()->sectionSizeHint(column);
            for (int row = 0; row < rows.rowCount(); ++row) {
                const QString text = rows.index(row, column).data().toString();
                width = std::max(width, metrics.horizontalAdvance(text) + 3 * metrics.height());
            }
            return width;
        };
        int extra = widest(name) - table->columnWidth(name);
        for (const auto giver :
             {DatapointColumn::description, DatapointColumn::status, DatapointColumn::value}) {
            const int column = static_cast<int>(giver);
            const int given = std::clamp(table->columnWidth(column) - widest(column), 0, std::max(extra, 0));
            table->setColumnWidth(column, table->columnWidth(column) - given);
            table->setColumnWidth(name, table->columnWidth(name) + given);
            extra -= given;
        }
    }
}

// Shows the main window at its first-start size; says so when the display never shows it.
bool showAtDefaultSize(TessarinApplication& tessarin) {
    MainWindow& window = tessarin.mainWindow();
    window.resize(MainWindow::defaultSize);
    tessarin.showMainWindow();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window never showed\n");
        return false;
    }
    return true;
}

bool saveHelpPicture(const QImage& image, const QString& folder, const QString& name,
                     const QString& language) {
    const QImage scaled = image.scaledToWidth(helpPictureWidth, Qt::SmoothTransformation);
    return save(scaled.convertToFormat(QImage::Format_RGB32), folder, name, language);
}

// The window reading the demo device with the log open, then the chart of the same readings.
int drawHelpPictures(const QString& folder, const QString& language) {
    TessarinApplication tessarin;
    MainWindow& window = tessarin.mainWindow();
    if (!showAtDefaultSize(tessarin)) return 1;
    PollerModel& model = tessarin.model();
    window.setShowLog(true);
    auto* pane = qobject_cast<BottomPaneView*>(window.bottomPane());
    if (pane == nullptr) {
        std::fprintf(stderr, "the bottom pane is not the expected view\n");
        return 1;
    }
    pane->setPane(BottomPane::log);
    if (!tessarin.demoDevice().start()) {
        std::fprintf(stderr, "the demo device did not start: %s\n",
                     qPrintable(model.errorMessage().value_or(QString())));
        return 1;
    }
    const auto answered = [&](std::int64_t count) {
        return QTest::qWaitFor([&] { return model.statistics().responses >= count; }, 120'000);
    };
    if (!answered(5)) {
        std::fprintf(stderr, "the demo device never answered\n");
        return 1;
    }
    widenNameColumn(window);
    bool ok = saveHelpPicture(capture(window), folder, QStringLiteral("overview"), language);

    pane->setPane(BottomPane::chart);
    pane->header()->periodPicker()->setWindow(helpChartPeriod);
    // A taller pane than the default, so the line's course is readable at the help's size.
    window.splitter()->setSizes({MainWindow::tableMinimumHeight, window.height()});
    const ChartPane& chart = *pane->chartPane();
    const auto drawn = [&] {
        return !chart.showsEmptyState() && !chart.lines().empty() &&
               chart.lines().front()->count() >= helpChartSamples;
    };
    if (!QTest::qWaitFor(drawn, 120'000)) {
        std::fprintf(stderr, "the chart never drew enough samples\n");
        ok = false;
    }
    ok = saveHelpPicture(capture(*pane), folder, QStringLiteral("chart"), language) && ok;

    tessarin.demoDevice().stop();
    tessarin.prepareForQuit();
    return ok ? 0 : 1;
}

// A meter's value as the demo device serves it: what a real meter of this kind would show.
Datapoint meterPoint(std::string name, RegisterTable table, std::uint16_t address, DataType type,
                     Simulation simulation, std::string unit = {}, double scale = 1) {
    Datapoint p;
    p.name = std::move(name);
    p.table = table;
    p.address = address;
    p.dataType = type;
    p.engineeringUnit = std::move(unit);
    p.scale = scale;
    p.simulation = simulation;
    return Datapoint::make(std::move(p));
}

using Kind = Simulation::Kind;

// An energy meter with a pump: every table, a scaled and a signed value, a writable setpoint,
// a hexadecimal status word; a slow second poll, a disabled third and an empty fourth.
std::vector<Poll> meterPolls() {
    Poll meter;
    meter.name = "Meter";
    meter.intervalMs = 250;
    meter.datapoints = {
        meterPoint("Voltage L1", RegisterTable::holdingRegister, 230, DataType::uint16,
                   {Kind::sine, 229, 233, 20}, "V"),
        meterPoint("Current L1", RegisterTable::inputRegister, 12, DataType::int16,
                   {Kind::sine, 4.2, 5.8, 15}, "A", 0.01),
        meterPoint("Energy", RegisterTable::holdingRegister, 40, DataType::uint32,
                   {Kind::counter, 18'342, 99'999'999, 1}, "kWh", 0.1),
        meterPoint("Setpoint", RegisterTable::holdingRegister, 7, DataType::int16,
                   {Kind::sine, 21.5, 21.5, 60}, "°C", 0.1),
        meterPoint("Pump", RegisterTable::coil, 3, DataType::bool_, {Kind::sine, 1, 1, 60}),
        meterPoint("Alarm", RegisterTable::discreteInput, 1, DataType::bool_, {Kind::sine, 0, 0, 60}),
        meterPoint("Status word", RegisterTable::holdingRegister, 100, DataType::uint16,
                   {Kind::sine, 100, 100, 60}),
    };
    meter.datapoints.back().format = DisplayFormat::hex;
    meter.plotted = {meter.datapoints[0].id, meter.datapoints[2].id};
    Poll slow;
    slow.name = "Counters";
    slow.intervalMs = 5000;
    slow.datapoints = {meterPoint("Hours", RegisterTable::holdingRegister, 300, DataType::uint32,
                                  {Kind::counter, 4'711, 99'999'999, 3600}, "h")};
    Poll spare;
    spare.enabled = false;
    spare.datapoints = {meterPoint("Spare", RegisterTable::holdingRegister, 500, DataType::uint16, {})};
    Poll fresh;
    fresh.name = "New poll";
    return {meter, slow, spare, fresh};
}

constexpr int setpointRow = 3;

// The meter project against the port, its first poll selected, not reading.
void openMeter(PollerModel& model, std::uint16_t port) {
    model.stop();
    PollerProject project = model.makeProject();
    project.host = "127.0.0.1";
    project.port = port;
    project.polls = meterPolls();
    model.apply(project);
    model.setSelectedPollID(model.polls().front().id);
}

// Reads the meter project from the demo device until every datapoint of its first poll has a value.
bool readMeter(DemoDevice& demo, PollerModel& model) {
    if (!demo.start()) return false;
    const Poll& meter = model.polls().front();
    return QTest::qWaitFor(
        [&] {
            return std::ranges::all_of(meter.datapoints, [&](const Datapoint& p) {
                const PointStatus* status = model.status(p.id);
                return status != nullptr && status->value;
            });
        },
        20'000);
}

// Lets the banners' fades and the table's gathered redraws end before the picture.
QImage settled(QWidget& window, QWidget* popover = nullptr) {
    QTest::qWait(400);
    return capture(window, popover);
}

// What a device that fails in every way leaves on screen: the connection banner above the
// no-response hint, a failed write at the foot of the table, and the table's failure texts
// beside the last good values.
void scriptFailures(PollerModel& model, std::uint16_t refusingPort) {
    const Poll& meter = model.polls().front();
    const ReadBlock voltage{.unit = 1, .table = RegisterTable::holdingRegister, .address = 230, .count = 1};
    std::vector<std::uint8_t> answer{0x03, 0x02};
    appendUInt16(answer, 231);
    model.handle({PollerEvent::Read{meter.id, voltage, PDU::ReadData::registers({231}),
                                    MBAPHeader::message(1, 1, voltage.pdu()),
                                    MBAPHeader::message(1, 1, answer), 0.018}});
    const ReadBlock energy{.unit = 1, .table = RegisterTable::holdingRegister, .address = 40, .count = 2};
    model.handle({PollerEvent::Read{
        meter.id, energy, std::unexpected(PollFailureError{PollFailure::exception(2)}), {}, {}, 0.02}});
    for (int i = 0; i < 3; ++i) {
        model.handle({PollerEvent::Read{
            meter.id, voltage, std::unexpected(PollFailureError{PollFailure::timeout()}), {}, {}, 1.0}});
    }
    model.handle({PollerEvent::ConnectionFailed{"Connection to 127.0.0.1:" + std::to_string(refusingPort) +
                                                " failed: Connection refused"}});
    model.write(meter.datapoints[setpointRow], 21.5);
    if (!model.pendingWrites().empty()) {
        model.handle({PollerEvent::Wrote{model.pendingWrites().begin()->first,
                                         1,
                                         std::unexpected(PollFailureError{PollFailure::timeout()}),
                                         {},
                                         {},
                                         1.0}});
    }
}

// The window while people work in it: live values, the write editor refusing a value that
// does not fit, a failing device, and a poll without datapoints.
bool drawWorkingScenes(TessarinApplication& tessarin, const QString& folder, const QString& suffix) {
    MainWindow& window = tessarin.mainWindow();
    PollerModel& model = tessarin.model();
    auto* area = window.findChild<PollArea*>();
    if (area == nullptr) {
        std::fprintf(stderr, "the window has no poll area\n");
        return false;
    }
    window.setShowLog(false);
    tessarin.demoDevice().stop();
    openMeter(model, PollerProject{}.port);
    if (!readMeter(tessarin.demoDevice(), model)) {
        std::fprintf(stderr, "the demo device never answered every datapoint\n");
        return false;
    }
    area->table().selectRow(setpointRow);
    bool ok = save(settled(window), folder, QStringLiteral("datapoints"), suffix);

    area->openWriteEditor(setpointRow);
    if (WriteEditor* editor = area->writeEditor()) {
        editor->field()->setText(QStringLiteral("40000"));
        editor->submit();
        ok = save(settled(window, editor), folder, QStringLiteral("write-editor"), suffix) && ok;
        editor->close();
    } else {
        std::fprintf(stderr, "the write editor did not open\n");
        ok = false;
    }

    model.setSelectedPollID(model.polls().back().id);
    ok = save(settled(window), folder, QStringLiteral("empty-poll"), suffix) && ok;

    tessarin.demoDevice().stop();
    const test::ClosedPort refusing;
    openMeter(model, refusing.port());
    model.start();
    area->table().clearSelection();
    scriptFailures(model, refusing.port());
    ok = save(settled(window), folder, QStringLiteral("failing"), suffix) && ok;
    model.stop();
    return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--help-pictures") == 0) {
        return drawHelpPictures(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: tessarin-screenshots <folder> <suffix> [dark]\n"
                     "       tessarin-screenshots --help-pictures <folder> <language>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString suffix = QString::fromLocal8Bit(argv[2]);
    if (argc > 3 && qstrcmp(argv[3], "dark") == 0) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(test::darkPalette());
    }

    TessarinApplication tessarin;
    MainWindow& window = tessarin.mainWindow();
    if (!showAtDefaultSize(tessarin)) return 1;
    bool ok = save(capture(window), folder, QStringLiteral("first-start"), suffix);

    // The example project read from the demo device, as a first start does.
    PollerModel& model = tessarin.model();
    window.setShowLog(true);
    if (!tessarin.demoDevice().start()) {
        std::fprintf(stderr, "the demo device did not start\n");
        return 1;
    }
    if (!QTest::qWaitFor([&] { return model.statistics().responses >= 8; }, 20'000)) {
        std::fprintf(stderr, "the demo device never answered\n");
        ok = false;
    }
    ok = save(settled(window), folder, QStringLiteral("reading"), suffix) && ok;

    ConnectionBar& bar = *window.connectionBar();
    bar.openSettings();
    ok = save(capture(window, bar.settingsPopover()), folder, QStringLiteral("settings"), suffix) && ok;
    bar.settingsPopover()->close();

    FooterBar& footer = *window.footerBar();
    footer.openLogOptions();
    ok = save(capture(window, footer.logOptions()), folder, QStringLiteral("log-options"), suffix) && ok;
    footer.logOptions()->close();

    ok = drawWorkingScenes(tessarin, folder, suffix) && ok;
    tessarin.prepareForQuit();
    return ok ? 0 : 1;
}
