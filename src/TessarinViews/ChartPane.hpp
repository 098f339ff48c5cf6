#pragma once

#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <vector>

class QChart;
class QChartView;
class QDateTimeAxis;
class QLineSeries;
class QStackedWidget;
class QValueAxis;

namespace tessarin {

class PollerModel;
struct ChartSeries;
struct Uuid;

// The recorded values of the selected poll's plotted datapoints as lines over time, one per
// datapoint in table order, each named by its label and unit and thinned by the model; the
// "Nothing to show yet" state instead when no line has a sample in the period. The chart
// follows the model's history version, the selection and the plotted sets, gathering every
// change that arrives in one pass of the event loop into one redraw, and redraws nothing
// while it is hidden.
class ChartPane final : public QWidget {
    Q_OBJECT

public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    explicit ChartPane(PollerModel& model, QWidget* parent = nullptr);
    ~ChartPane() override;

    // Seconds before now that the chart shows; 0 shows everything recorded.
    [[nodiscard]] int window() const { return m_window; }
    void setWindow(int seconds);
    // Where "now" comes from for the period's cut-off.
    void setClock(Clock clock);

    // What the chart would draw at this moment.
    [[nodiscard]] std::vector<ChartSeries> currentSeries() const;
    // Draws exactly these series, or the empty state when none has a sample.
    void draw(const std::vector<ChartSeries>& series);
    // Computes and draws at once.
    void redraw();

    [[nodiscard]] bool showsEmptyState() const;
    [[nodiscard]] QChart* chart() const { return m_chart; }
    [[nodiscard]] QDateTimeAxis* timeAxis() const { return m_timeAxis; }
    [[nodiscard]] QValueAxis* valueAxis() const { return m_valueAxis; }
    // The series drawn now, in order.
    [[nodiscard]] const std::vector<QLineSeries*>& lines() const { return m_lines; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void scheduleRedraw();
    void makeAxes();
    void applyPalette();
    void rebuildLines(const std::vector<ChartSeries>& series);
    void fitAxes(const std::vector<ChartSeries>& series);

    PollerModel& m_model;
    int m_window;
    Clock m_clock;
    QTimer m_redrawTimer;
    bool m_stale = true;

    QStackedWidget* m_pages = nullptr;
    QWidget* m_emptyState = nullptr;
    QChartView* m_view = nullptr;
    QChart* m_chart = nullptr;
    QDateTimeAxis* m_timeAxis = nullptr;
    QValueAxis* m_valueAxis = nullptr;
    std::vector<QLineSeries*> m_lines;
    std::vector<Uuid> m_lineIDs;
};

}  // namespace tessarin
