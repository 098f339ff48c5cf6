#pragma once

#include "TessarinViews/BottomPane.hpp"

#include <QWidget>

class QAction;
class QToolButton;

namespace tessarin {

class ChartPeriodPicker;
class PollerModel;
class ThemedButton;

// The bottom pane's header: a menu button that names the content shown (Log or Chart) and
// switches it, and, while the chart shows, its period and the history's Clear and Export.
class PaneHeader final : public QWidget {
    Q_OBJECT

public:
    explicit PaneHeader(PollerModel& model, QWidget* parent = nullptr);

    // Shows this content's name and controls; no signal.
    void setPane(BottomPane pane);

    [[nodiscard]] QToolButton* menuButton() const { return m_menuButton; }
    [[nodiscard]] QAction* paneAction(BottomPane pane) const;
    [[nodiscard]] ChartPeriodPicker* periodPicker() const { return m_period; }
    [[nodiscard]] ThemedButton* clearHistoryButton() const { return m_clearHistory; }
    [[nodiscard]] ThemedButton* exportHistoryButton() const { return m_exportHistory; }

Q_SIGNALS:
    // The user picked a content from the menu.
    void paneChosen(tessarin::BottomPane pane);

private:
    QToolButton* m_menuButton = nullptr;
    QAction* m_logAction = nullptr;
    QAction* m_chartAction = nullptr;
    ChartPeriodPicker* m_period = nullptr;
    ThemedButton* m_clearHistory = nullptr;
    ThemedButton* m_exportHistory = nullptr;
};

}  // namespace tessarin
