#pragma once

#include "TessarinViews/BottomPane.hpp"

#include <QWidget>

class QStackedWidget;

namespace tessarin {

class ChartPane;
class OutputArea;
class PaneHeader;
class PollerModel;

// The pane under the datapoint table: its header, a divider, and the log or the chart. Which
// of the two shows is kept in the settings under "bottomPane" (the log when nothing usable is
// stored), and the chart's period under "chartWindow".
class BottomPaneView final : public QWidget {
    Q_OBJECT

public:
    explicit BottomPaneView(PollerModel& model, QWidget* parent = nullptr);

    [[nodiscard]] BottomPane pane() const { return m_pane; }
    void setPane(BottomPane pane);

    [[nodiscard]] PaneHeader* header() const { return m_header; }
    [[nodiscard]] OutputArea* outputArea() const { return m_output; }
    [[nodiscard]] ChartPane* chartPane() const { return m_chart; }

private:
    BottomPane m_pane = BottomPane::log;
    PaneHeader* m_header = nullptr;
    QStackedWidget* m_content = nullptr;
    OutputArea* m_output = nullptr;
    ChartPane* m_chart = nullptr;
};

}  // namespace tessarin
