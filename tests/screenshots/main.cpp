// Draws the main window in the states a newcomer meets first, for the README and the
// AppStream metainfo: tessarin-screenshots <folder> <suffix> [dark]. With --help-pictures
// <folder> <language> it draws the pictures the help shows instead, reading the application's
// own demo device. The language comes from LANGUAGE as in the application; scripts/screenshots
// runs it under a virtual display.
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
#include "TessarinViews/TessarinApplication.hpp"
#include "support/PeerProcess.hpp"

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
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

QPalette darkPalette() {
    QPalette p;
    const QColor window(0x2b, 0x2b, 0x2e);
    const QColor base(0x1e, 0x1e, 0x20);
    const QColor text(0xea, 0xea, 0xec);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3e));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(0x8e, 0x8e, 0x93));
    p.setColor(QPalette::Highlight, QColor(0x00, 0x81, 0x84));
    p.setColor(QPalette::HighlightedText, Qt::white);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, QColor(0x7a, 0x7a, 0x7e));
    }
    return p;
}

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
        for (const auto giver : {DatapointColumn::description, DatapointColumn::status, DatapointColumn::value}) {
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

bool saveHelpPicture(const QImage& image, const QString& folder, const QString& name, const QString& language) {
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
        std::fprintf(stderr, "the demo device did not start: %s\n", qPrintable(model.errorMessage().value_or(QString())));
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

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--help-pictures") == 0) {
        return drawHelpPictures(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: tessarin-screenshots <folder> <suffix> [dark]\n"
                             "       tessarin-screenshots --help-pictures <folder> <language>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString suffix = QString::fromLocal8Bit(argv[2]);
    if (argc > 3 && qstrcmp(argv[3], "dark") == 0) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(darkPalette());
    }

    TessarinApplication tessarin;
    MainWindow& window = tessarin.mainWindow();
    if (!showAtDefaultSize(tessarin)) return 1;
    bool ok = save(capture(window), folder, QStringLiteral("first-start"), suffix);

    auto peer = test::PeerProcess::start(test::PeerKind::libmodbusTCP);
    if (!peer) {
        std::fprintf(stderr, "%s\n", peer.error().c_str());
        return 1;
    }
    PollerModel& model = tessarin.model();
    model.setHost(QStringLiteral("127.0.0.1"));
    model.setPortText(QString::number(peer->port()));
    window.setShowLog(true);
    model.start();
    if (!QTest::qWaitFor([&] { return model.statistics().responses >= 5; }, 20'000)) {
        std::fprintf(stderr, "the peer never answered\n");
        ok = false;
    }
    ok = save(capture(window), folder, QStringLiteral("reading"), suffix) && ok;

    ConnectionBar& bar = *window.connectionBar();
    bar.openSettings();
    ok = save(capture(window, bar.settingsPopover()), folder, QStringLiteral("settings"), suffix) && ok;
    bar.settingsPopover()->close();

    FooterBar& footer = *window.footerBar();
    footer.openLogOptions();
    ok = save(capture(window, footer.logOptions()), folder, QStringLiteral("log-options"), suffix) && ok;
    footer.logOptions()->close();

    tessarin.prepareForQuit();
    return ok ? 0 : 1;
}
