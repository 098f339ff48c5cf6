// What the bottom pane costs the main thread, measured against its own baseline in the same run:
//   (a) the chart: one redraw (series handed over, lines replaced, axes fitted, the widget
//       rendered) of 10 datapoints with 20,000 samples each, thinned as the model thins them
//       (thinning included in the time), against the same redraw with every sample drawn;
//   (b) the log: lines per second appended to the OutputBuffer with its view shown and
//       following the end, against the same buffer without a view, the event loop turning
//       every 50 lines in both as it would between engine events.
// The two setups of each pair take turns round by round and their medians are compared.
//
// The last line is for scripts: "ratio thinned/full=<x> logview/buffer=<y>".
//
//   chart_redraw [rounds, default 5]

#include "Median.hpp"
#include "NoDialogs.hpp"
#include "TessarinModel/ChartSeries.hpp"
#include "TessarinModel/OutputBuffer.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinModel/ValueHistory.hpp"
#include "TessarinViews/ChartPane.hpp"
#include "TessarinViews/OutputTextView.hpp"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPixmap>
#include <QTemporaryDir>

#include <fmt/format.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using namespace tessarin;
using bench::median;
using bench::NoDialogs;

constexpr int seriesCount = 10;
constexpr int samplesPerSeries = 20'000;
constexpr int redrawsPerRound = 5;
constexpr int logLinesPerRound = 20'000;
constexpr int linesPerEventLoopTurn = 50;

// Ten smooth, distinct lines, one sample a second up to now; shift moves every value so that
// each redraw has new data to lay out.
std::vector<ChartSeries> fullSeries(double shift) {
    const auto now = std::chrono::system_clock::now();
    std::vector<ChartSeries> all(seriesCount);
    for (int s = 0; s < seriesCount; ++s) {
        ChartSeries& one = all[static_cast<std::size_t>(s)];
        one.id = Uuid::random();
        one.name = QString::fromStdString(fmt::format("Sensor {} (°C)", s));
        one.samples.reserve(samplesPerSeries);
        for (int i = 0; i < samplesPerSeries; ++i) {
            one.samples.push_back({now - std::chrono::seconds(samplesPerSeries - i),
                                   20.0 + s + 3.0 * std::sin((i + shift) / (40.0 + s))});
        }
    }
    return all;
}

// Milliseconds of main-thread time per redraw.
double timeRedraws(ChartPane& pane, bool thin, int round) {
    std::vector<std::vector<ChartSeries>> inputs;
    for (int i = 0; i < redrawsPerRound; ++i) {
        inputs.push_back(fullSeries(round * redrawsPerRound + i));
    }
    QElapsedTimer timer;
    timer.start();
    for (std::vector<ChartSeries>& series : inputs) {
        if (thin) {
            for (ChartSeries& one : series) {
                one.samples = ValueHistory::thinned(std::move(one.samples));
            }
        }
        pane.draw(series);
        const QPixmap rendered = pane.grab();
        if (rendered.isNull()) {
            std::fprintf(stderr, "chart_redraw: the chart did not render\n");
            std::exit(1);
        }
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e6 / redrawsPerRound;
}

std::vector<LogSegment> logLine(int i) {
    return {{LogSegment::Kind::timestamp, QStringLiteral("14:03:07.125  ")},
            {LogSegment::Kind::response, QStringLiteral("← Unit 1 · FC 03 ")},
            {LogSegment::Kind::meta, QStringLiteral("Read holding registers · ")},
            {LogSegment::Kind::response, QString::number(i) + QStringLiteral(" HR 0–9: 215 216 217 218")}};
}

// Lines per second. Work that either side puts off to a later turn or frame is done before the
// clock stops: finish brings a view up to date with the last line.
double timeLog(OutputBuffer& buffer, const std::function<void()>& finish) {
    buffer.clear();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < logLinesPerRound; ++i) {
        buffer.append(logLine(i));
        if (i % linesPerEventLoopTurn == linesPerEventLoopTurn - 1) {
            QCoreApplication::processEvents();
        }
    }
    buffer.render();
    finish();
    QCoreApplication::processEvents();
    return logLinesPerRound / (static_cast<double>(timer.nsecsElapsed()) / 1e9);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    NoDialogs dialogs;
    PollerModel model(dialogs);

    ChartPane pane(model);
    pane.resize(1100, 260);
    pane.show();
    QCoreApplication::processEvents();
    std::vector<double> thinned;
    std::vector<double> full;
    for (int round = 0; round < rounds; ++round) {
        thinned.push_back(timeRedraws(pane, true, round));
        full.push_back(timeRedraws(pane, false, round));
        std::printf("round %d: redraw thinned %.2f ms, full %.2f ms\n", round + 1, thinned.back(),
                    full.back());
    }

    // The chart's window would otherwise take part in the log's paints.
    pane.hide();
    // Two buffers, so that the one without a view never had one.
    OutputBuffer headless;
    OutputBuffer shown;
    OutputTextView view(shown);
    view.resize(1100, 240);
    view.show();
    QCoreApplication::processEvents();
    std::vector<double> bufferRates;
    std::vector<double> viewRates;
    for (int round = 0; round < rounds; ++round) {
        bufferRates.push_back(timeLog(headless, [] {}));
        viewRates.push_back(timeLog(shown, [&view] { view.scrollToEnd(); }));
        std::printf("round %d: log %.0f lines/s headless, %.0f lines/s shown\n", round + 1,
                    bufferRates.back(), viewRates.back());
        // The view follows the end once per frame.
        QElapsedTimer settle;
        settle.start();
        while (!view.isAtEnd() && settle.elapsed() < 1000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
        if (!view.isAtEnd()) {
            std::fprintf(stderr, "chart_redraw: the log view did not follow the end\n");
            return 1;
        }
    }

    const double thinnedMs = median(thinned);
    const double fullMs = median(full);
    const double bufferRate = median(bufferRates);
    const double viewRate = median(viewRates);
    std::printf("median redraw: thinned %.2f ms, full %.2f ms (goal: thinned/full <= 0.1)\n", thinnedMs,
                fullMs);
    std::printf("median log: %.0f lines/s shown, %.0f lines/s headless (goal: logview/buffer >= 0.7)\n",
                viewRate, bufferRate);
    std::printf("ratio thinned/full=%.3f logview/buffer=%.3f\n", thinnedMs / fullMs, viewRate / bufferRate);
    return 0;
}
