#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

namespace tessarin {

class ConnectionField;
class ConnectionSettingsPopover;
class PollerModel;
class StartStopButton;
class StatusDot;

// The row above the tabs: the device's host and port, the connection settings, Start/Stop
// and the reading state. The fields write the model as the user types; the model uses them
// at the next start.
class ConnectionBar final : public QWidget {
    Q_OBJECT

public:
    explicit ConnectionBar(PollerModel& model, QWidget* parent = nullptr);

    [[nodiscard]] ConnectionField* hostField() const { return m_host; }
    [[nodiscard]] ConnectionField* portField() const { return m_port; }
    [[nodiscard]] QToolButton* settingsButton() const { return m_settingsButton; }
    [[nodiscard]] StartStopButton* startStopButton() const { return m_startStop; }
    [[nodiscard]] StatusDot* statusDot() const { return m_dot; }
    [[nodiscard]] ConnectionSettingsPopover* settingsPopover() const { return m_settings; }

    void openSettings();

    static constexpr int spacing = 8;
    static constexpr int hostWidth = 200;
    static constexpr int portWidth = 70;

protected:
    void changeEvent(QEvent* event) override;

private:
    void refresh();
    void refreshIcons();

    PollerModel& m_model;
    ConnectionField* m_host = nullptr;
    ConnectionField* m_port = nullptr;
    QToolButton* m_settingsButton = nullptr;
    StartStopButton* m_startStop = nullptr;
    StatusDot* m_dot = nullptr;
    ConnectionSettingsPopover* m_settings = nullptr;
};

}  // namespace tessarin
