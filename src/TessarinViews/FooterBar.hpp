#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

namespace tessarin {

class LogOptionsPopover;
class PollerModel;
class ThemedButton;
class ThemedToggle;

// The bar under the table: the log's toggle and options, the request counters, saving and
// clearing the log. Whether the log shows is the window's choice; the bar only offers the
// toggle for it.
class FooterBar final : public QWidget {
    Q_OBJECT

public:
    // The counters change with every answer; a fast device would have the label relaid out
    // thousands of times a second. A change shows at once, later ones at most this often.
    static constexpr int statisticsRefreshMs = 250;

    explicit FooterBar(PollerModel& model, QWidget* parent = nullptr);

    [[nodiscard]] ThemedToggle* logToggle() const { return m_logToggle; }
    [[nodiscard]] ThemedButton* optionsButton() const { return m_options; }
    [[nodiscard]] QLabel* statisticsLabel() const { return m_statistics; }
    [[nodiscard]] ThemedButton* saveButton() const { return m_save; }
    [[nodiscard]] ThemedButton* clearButton() const { return m_clear; }
    [[nodiscard]] LogOptionsPopover* logOptions() const { return m_logOptions; }

    void openLogOptions();

private:
    void statisticsChanged();
    void refreshStatistics();

    PollerModel& m_model;
    ThemedToggle* m_logToggle = nullptr;
    ThemedButton* m_options = nullptr;
    QLabel* m_statistics = nullptr;
    ThemedButton* m_save = nullptr;
    ThemedButton* m_clear = nullptr;
    LogOptionsPopover* m_logOptions = nullptr;
    QTimer m_statisticsPause;
    bool m_statisticsStale = false;
};

}  // namespace tessarin
