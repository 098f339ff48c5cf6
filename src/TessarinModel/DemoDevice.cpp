#include "TessarinModel/DemoDevice.hpp"

#include "DeviceSimulator/DemoGenerators.hpp"
#include "DeviceSimulator/DeviceSimulator.hpp"
#include "DeviceSimulator/SimulatedDevice.hpp"
#include "TessarinModel/AtomicFile.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/PollerModel.hpp"

#include <algorithm>
#include <utility>

namespace tessarin {

DemoDevice::DemoDevice(PollerModel& model, QObject* parent) : QObject(parent), m_model(model) {
    connect(&m_model, &PollerModel::stateChanged, this, &DemoDevice::onStateChanged);
    connect(&m_model, &PollerModel::autosaveWritten, this, &DemoDevice::onAutosaveWritten);
}

DemoDevice::~DemoDevice() {
    stop();
}

std::optional<std::uint16_t> DemoDevice::port() const {
    return m_simulator ? std::optional<std::uint16_t>(m_simulator->port()) : std::nullopt;
}

bool DemoDevice::canToggle() const {
    if (isRunning()) {
        return true;
    }
    return m_model.state() == PollerState::stopped &&
           std::ranges::any_of(m_model.polls(),
                               [](const Poll& poll) { return poll.enabled && !poll.datapoints.empty(); });
}

bool DemoDevice::start() {
    if (isRunning() || !canToggle()) {
        return false;
    }
    SimulatorOptions options;
    options.bindAddress = loopbackHost;
    options.framing = m_model.framing();
    auto simulator = DeviceSimulator::start(SimulatedDevice(DemoGenerators::applied(m_model.makeProject())),
                                            std::move(options));
    if (!simulator) {
        m_model.setErrorMessage(qtText(simulator.error().description()));
        return false;
    }
    m_simulator = std::move(*simulator);
    m_previous = {m_model.host(), m_model.portText()};
    m_demo = {QString::fromLatin1(loopbackHost), QString::number(m_simulator->port())};
    m_model.setHost(m_demo.host);
    m_model.setPortText(m_demo.portText);
    m_model.start();
    if (m_model.state() == PollerState::stopped) {
        // Cannot happen with the address just set; kept so that a refusal leaves nothing behind.
        finish();
        return false;
    }
    Q_EMIT runningChanged(true);
    return true;
}

void DemoDevice::stop() {
    if (!isRunning()) {
        return;
    }
    // Reading ends first, so that the engine never sees its device vanish; the state change
    // then finishes the demo.
    m_model.stop();
    finish();
}

void DemoDevice::toggle() {
    if (isRunning()) {
        stop();
    } else {
        start();
    }
}

void DemoDevice::onStateChanged() {
    if (isRunning() && m_model.state() == PollerState::stopped) {
        finish();
    }
}

void DemoDevice::onAutosaveWritten() {
    const std::optional<QString> path = PollerModel::autosavePath();
    if (!isRunning() || !path) {
        return;
    }
    const Address after = addressAfter();
    PollerProject project = m_model.makeProject();
    project.host = utf8Text(after.host.trimmed());
    project.port = PollerModel::parsePort(after.portText).value_or(modbusTCPPort);
    // Failures are as silent as the autosave's own; ending the demo writes the file again.
    (void)AtomicFile::writeText(*path, project.document());
}

DemoDevice::Address DemoDevice::addressAfter() const {
    return {m_model.host() == m_demo.host ? m_previous.host : m_model.host(),
            m_model.portText() == m_demo.portText ? m_previous.portText : m_model.portText()};
}

void DemoDevice::finish() {
    if (!m_simulator) {
        return;
    }
    const Address after = addressAfter();
    m_model.setHost(after.host);
    m_model.setPortText(after.portText);
    std::unique_ptr<DeviceSimulator> simulator = std::exchange(m_simulator, nullptr);
    simulator->stop();
    Q_EMIT runningChanged(false);
}

}  // namespace tessarin
