#include "TessarinViews/ChartPane.hpp"

#include "TessarinModel/ChartSeries.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/ChartPeriodPicker.hpp"
#include "TessarinViews/Icons.hpp"
#include "TessarinViews/Theme.hpp"

#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <limits>

namespace tessarin {

namespace {

constexpr int emptySymbolSize = 28;
constexpr int emptyTextMaximumWidth = 420;
constexpr int legendSpacing = 8;
// Room above and below the lines, as a share of their span.
constexpr double valuePadding = 0.05;
constexpr double minimumTimeSpanMs = 60'000.0;

// Line colours that hold their contrast on the light and on the dark background.
constexpr std::array<QRgb, 8> lightLineColours{0x008184, 0x007AFF, 0xFF9500, 0xAF52DE,
                                               0xFF3B30, 0x34A853, 0xA2845E, 0x5856D6};
constexpr std::array<QRgb, 8> darkLineColours{0x2EC4C7, 0x0A84FF, 0xFF9F0A, 0xBF5AF2,
                                              0xFF453A, 0x30D158, 0xAC8E68, 0x7D7AFF};

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::WindowText).lightness() > palette.color(QPalette::Window).lightness();
}

double msecs(std::chrono::system_clock::time_point time) {
    return static_cast<double>(
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count());
}

QList<QPointF> pointsOf(const ChartSeries& series) {
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(series.samples.size()));
    for (const Sample& sample : series.samples) {
        points.append(QPointF(msecs(sample.time), sample.value));
    }
    return points;
}

QWidget* makeEmptyState(QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    layout->setSpacing(8);
    layout->addStretch(1);
    const QColor secondary = Theme::secondaryText(page->palette());
    auto* symbol = new QLabel(page);
    symbol->setPixmap(Icons::symbolPixmap(
        u"chart.xyaxis.line", secondary, QSize(emptySymbolSize, emptySymbolSize), page->devicePixelRatioF()));
    layout->addWidget(symbol, 0, Qt::AlignHCenter);
    auto* title = new QLabel(qtText(L10n::Chart::emptyTitle()), page);
    title->setObjectName(QStringLiteral("chartEmptyTitle"));
    QFont headline = title->font();
    headline.setPointSizeF(headline.pointSizeF() * 1.15);
    headline.setWeight(QFont::DemiBold);
    title->setFont(headline);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    auto* text = new QLabel(qtText(L10n::Chart::emptyText()), page);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignHCenter);
    text->setMaximumWidth(emptyTextMaximumWidth);
    QPalette colours = text->palette();
    colours.setColor(QPalette::WindowText, secondary);
    text->setPalette(colours);
    text->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* row = new QHBoxLayout();
    row->addStretch(1);
    row->addWidget(text, 100);  // grows to its maximum width, centred
    row->addStretch(1);
    layout->addLayout(row);
    layout->addStretch(1);
    return page;
}

}  // namespace

ChartPane::ChartPane(PollerModel& model, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_window(ChartPeriodPicker::defaultWindow),
      m_clock([] { return std::chrono::system_clock::now(); }) {
    setObjectName(QStringLiteral("chartPane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pages = new QStackedWidget(this);
    layout->addWidget(m_pages);
    m_emptyState = makeEmptyState(m_pages);
    m_pages->addWidget(m_emptyState);

    m_chart = new QChart();
    m_chart->setBackgroundVisible(false);
    m_chart->setMargins(QMargins(4, 2, 4, 2));
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->legend()->setAlignment(Qt::AlignTop);
    m_chart->legend()->setContentsMargins(0, 0, 0, legendSpacing);
    makeAxes();
    m_view = new QChartView(m_chart, m_pages);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setStyleSheet(QStringLiteral("background: transparent"));
    m_pages->addWidget(m_view);
    m_pages->setCurrentWidget(m_emptyState);
    applyPalette();

    m_redrawTimer.setSingleShot(true);
    m_redrawTimer.setInterval(0);
    connect(&m_redrawTimer, &QTimer::timeout, this, &ChartPane::redraw);
    for (const auto signal : {&PollerModel::historyVersionChanged, &PollerModel::pollsChanged,
                              &PollerModel::selectedPollIDChanged}) {
        connect(&m_model, signal, this, &ChartPane::scheduleRedraw);
    }
}

ChartPane::~ChartPane() = default;

void ChartPane::setWindow(int seconds) {
    if (m_window != seconds) {
        m_window = std::max(0, seconds);
        scheduleRedraw();
    }
}

void ChartPane::setClock(Clock clock) {
    m_clock = std::move(clock);
    scheduleRedraw();
}

std::vector<ChartSeries> ChartPane::currentSeries() const {
    std::vector<ChartSeries> series;
    const Poll* poll = m_model.selectedPoll();
    if (poll == nullptr) {
        return series;
    }
    std::optional<std::chrono::system_clock::time_point> since;
    if (m_window >= 1) {
        since = m_clock() - std::chrono::seconds(m_window);
    }
    for (const Datapoint& point : poll->datapoints) {
        if (!poll->plotted.contains(point.id)) {
            continue;
        }
        if (std::optional<ChartSeries> one = m_model.series(point, since)) {
            series.push_back(std::move(*one));
        }
    }
    return series;
}

void ChartPane::scheduleRedraw() {
    m_stale = true;
    if (isVisible() && !m_redrawTimer.isActive()) {
        m_redrawTimer.start();
    }
}

void ChartPane::redraw() {
    m_redrawTimer.stop();
    m_stale = false;
    draw(currentSeries());
}

void ChartPane::draw(const std::vector<ChartSeries>& series) {
    const bool anySample =
        std::ranges::any_of(series, [](const ChartSeries& one) { return !one.samples.empty(); });
    if (!anySample) {
        rebuildLines({});
        m_pages->setCurrentWidget(m_emptyState);
        return;
    }
    const bool sameLines = std::ranges::equal(series, m_lineIDs, {}, &ChartSeries::id) &&
                           std::ranges::equal(series, m_lines, {}, &ChartSeries::name,
                                              [](const QLineSeries* line) { return line->name(); });
    if (!sameLines) {
        rebuildLines(series);
    }
    for (std::size_t i = 0; i < series.size(); ++i) {
        m_lines[i]->replace(pointsOf(series[i]));
    }
    fitAxes(series);
    m_pages->setCurrentWidget(m_view);
}

void ChartPane::makeAxes() {
    m_timeAxis = new QDateTimeAxis(m_chart);
    m_timeAxis->setFormat(QStringLiteral("HH:mm:ss"));
    m_timeAxis->setTitleText(qtText(L10n::Chart::time()));
    m_timeAxis->setTickCount(6);
    m_valueAxis = new QValueAxis(m_chart);
    m_valueAxis->setTitleText(qtText(L10n::Table::value()));
    m_valueAxis->setLabelFormat(QStringLiteral("%.6g"));
    m_valueAxis->setTruncateLabels(false);
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_valueAxis, Qt::AlignLeft);
}

void ChartPane::rebuildLines(const std::vector<ChartSeries>& series) {
    for (QLineSeries* line : m_lines) {
        m_chart->removeSeries(line);
        delete line;
    }
    m_lines.clear();
    m_lineIDs.clear();
    // Fresh axes with fresh lines: with Qt 6.4 a time axis that met its first lines while the
    // chart was hidden could stay out of the layout, without labels or grid, once it showed.
    for (QAbstractAxis* axis :
         {static_cast<QAbstractAxis*>(m_timeAxis), static_cast<QAbstractAxis*>(m_valueAxis)}) {
        m_chart->removeAxis(axis);
        delete axis;
    }
    makeAxes();
    applyPalette();
    const auto& colours = isDark(palette()) ? darkLineColours : lightLineColours;
    for (const ChartSeries& one : series) {
        auto* line = new QLineSeries();
        line->setName(one.name);
        QPen pen(QColor::fromRgb(colours[m_lines.size() % colours.size()]));
        pen.setWidthF(1.6);
        line->setPen(pen);
        m_chart->addSeries(line);
        line->attachAxis(m_timeAxis);
        line->attachAxis(m_valueAxis);
        m_lines.push_back(line);
        m_lineIDs.push_back(one.id);
    }
}

void ChartPane::fitAxes(const std::vector<ChartSeries>& series) {
    double earliest = std::numeric_limits<double>::max();
    double latest = std::numeric_limits<double>::lowest();
    double lowest = std::numeric_limits<double>::max();
    double highest = std::numeric_limits<double>::lowest();
    for (const ChartSeries& one : series) {
        if (one.samples.empty()) {
            continue;
        }
        // Samples are in time order.
        earliest = std::min(earliest, msecs(one.samples.front().time));
        latest = std::max(latest, msecs(one.samples.back().time));
        for (const Sample& sample : one.samples) {
            lowest = std::min(lowest, sample.value);
            highest = std::max(highest, sample.value);
        }
    }
    // A period shows as itself, ending now, so that the lines move along a steady axis. All of
    // the history starts at its first sample and spans at least a minute, growing to the right
    // as a period would fill: a few samples a moment apart give the time axis ticks it cannot
    // lay out.
    if (m_window >= 1) {
        latest = std::max(latest, msecs(m_clock()));
        earliest = latest - 1000.0 * m_window;
    } else {
        latest = std::max(latest, earliest + minimumTimeSpanMs);
    }
    const double span = highest - lowest;
    const double padding = span > 0.0 ? span * valuePadding : std::max(1.0, std::abs(highest) * valuePadding);
    m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(earliest)),
                         QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(latest)));
    m_valueAxis->setRange(lowest - padding, highest + padding);
    m_valueAxis->applyNiceNumbers();
}

bool ChartPane::showsEmptyState() const {
    return m_pages->currentWidget() == m_emptyState;
}

void ChartPane::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_stale) {
        redraw();
    }
}

void ChartPane::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        applyPalette();
        // The line colours follow the appearance too.
        const std::vector<ChartSeries> none;
        rebuildLines(none);
        redraw();
    }
}

void ChartPane::applyPalette() {
    const QPalette colours = palette();
    const QColor text = colours.color(QPalette::WindowText);
    QColor grid = text;
    grid.setAlphaF(0.12F);
    QColor axisLine = text;
    axisLine.setAlphaF(0.35F);
    for (QAbstractAxis* axis :
         {static_cast<QAbstractAxis*>(m_timeAxis), static_cast<QAbstractAxis*>(m_valueAxis)}) {
        axis->setLabelsColor(text);
        axis->setTitleBrush(Theme::secondaryText(colours));
        axis->setGridLineColor(grid);
        axis->setLinePenColor(axisLine);
    }
    m_chart->legend()->setLabelColor(text);
}

}  // namespace tessarin
