#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace tessarin {

class DeviceSimulator;
class PollerModel;

// A device made of the current project, served inside the application on a free loopback
// port, so that values move without hardware: datapoints whose simulation is none get the
// demo generators, the others run their own. Starting it points the model's host and port at
// it and starts reading; it ends with reading, however reading ends (this object, Stop, a new
// or opened project, quitting), and then gives back the address that was there before. The
// autosave never keeps the demo's address: its port means nothing once the process is gone.
// The device is the project as it stood when the demo started; like a real device it does not
// change when the list is edited.
// Main thread only; it acts on the model through its public operations alone, and the model
// must outlive it.
class DemoDevice final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DemoDevice)

public:
    static constexpr const char* loopbackHost = "127.0.0.1";

    explicit DemoDevice(PollerModel& model, QObject* parent = nullptr);
    // Ends a running demo, as stop() does.
    ~DemoDevice() override;

    [[nodiscard]] bool isRunning() const { return m_simulator != nullptr; }
    // The port it serves on while it runs.
    [[nodiscard]] std::optional<std::uint16_t> port() const;

    // Whether the command may be used now: to end a running demo, or, while nothing is read,
    // to start one for a project that has something to read. Never while reading a real device.
    [[nodiscard]] bool canToggle() const;

    // Serves the project and reads from it. Does nothing and answers false when it cannot be
    // used now; when the server cannot listen, the model's errorMessage says why and nothing
    // else changes.
    bool start();
    // Stops reading and the server and puts the previous address back. Does nothing when the
    // demo does not run.
    void stop();
    void toggle();

Q_SIGNALS:
    void runningChanged(bool running);

private:
    // The address the model had before the demo took it over, as it was typed.
    struct Address {
        QString host;
        QString portText;
    };

    void onStateChanged();
    // Writes the autosave again with the address the demo will give back.
    void onAutosaveWritten();
    // The address once the demo ends: one the user typed while it ran is theirs and stays;
    // only what the demo put there is replaced by what was there before.
    [[nodiscard]] Address addressAfter() const;
    // Drops the server and gives the address back; reading has already stopped.
    void finish();

    PollerModel& m_model;
    std::unique_ptr<DeviceSimulator> m_simulator;
    Address m_previous;
    Address m_demo;
};

}  // namespace tessarin
