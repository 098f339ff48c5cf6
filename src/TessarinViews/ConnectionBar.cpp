#include "TessarinViews/ConnectionBar.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/ConnectionField.hpp"
#include "TessarinViews/ConnectionSettingsPopover.hpp"
#include "TessarinViews/Icons.hpp"
#include "TessarinViews/StartStopButton.hpp"
#include "TessarinViews/StatusDot.hpp"
#include "TessarinViews/Theme.hpp"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace tessarin {

namespace {

QLabel* secondaryLabel(const std::string& text, QWidget* parent) {
    auto* label = new QLabel(qtText(text), parent);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, Theme::secondaryText(colours));
    label->setPalette(colours);
    return label;
}

}  // namespace

ConnectionBar::ConnectionBar(PollerModel& model, QWidget* parent) : QWidget(parent), m_model(model) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(spacing);

    QLabel* hostLabel = secondaryLabel(L10n::TCP::host(), this);
    m_host = new ConnectionField(this);
    m_host->setFixedWidth(hostWidth);
    m_host->setPlaceholderText(qtText(L10n::TCP::hostPlaceholder()));
    m_host->setToolTip(qtText(L10n::TCP::hostHelp()));
    m_host->setAccessibleName(qtText(L10n::TCP::host()));
    hostLabel->setBuddy(m_host);

    QLabel* portLabel = secondaryLabel(L10n::TCP::port(), this);
    m_port = new ConnectionField(this);
    m_port->setFixedWidth(portWidth);
    m_port->setAccessibleName(qtText(L10n::TCP::port()));
    portLabel->setBuddy(m_port);

    m_settingsButton = new QToolButton(this);
    m_settingsButton->setAutoRaise(true);
    m_settingsButton->setToolTip(qtText(L10n::Header::frameSettingsHelp()));
    m_settingsButton->setAccessibleName(qtText(L10n::Header::frameSettingsHelp()));
    m_settingsButton->setFocusPolicy(Qt::StrongFocus);

    m_startStop = new StartStopButton(this);
    m_dot = new StatusDot(this);
    m_settings = new ConnectionSettingsPopover(m_model, this);

    layout->addWidget(hostLabel);
    layout->addWidget(m_host);
    layout->addWidget(portLabel);
    layout->addWidget(m_port);
    layout->addWidget(m_settingsButton);
    layout->addStretch();
    layout->addWidget(m_dot);
    layout->addWidget(m_startStop);

    m_host->setText(m_model.host());
    m_port->setText(m_model.portText());
    connect(m_host, &QLineEdit::textEdited, &m_model, &PollerModel::setHost);
    connect(m_port, &QLineEdit::textEdited, &m_model, &PollerModel::setPortText);
    connect(m_settingsButton, &QToolButton::clicked, this, &ConnectionBar::openSettings);
    connect(m_startStop, &QPushButton::clicked, &m_model, &PollerModel::toggleReading);

    // Whether Start is possible follows the address, the polls and the state.
    for (const auto signal : {&PollerModel::hostChanged, &PollerModel::portTextChanged, &PollerModel::stateChanged,
                              &PollerModel::pollsChanged}) {
        connect(&m_model, signal, this, &ConnectionBar::refresh);
    }
    refreshIcons();
    refresh();
}

void ConnectionBar::openSettings() {
    m_settings->openBelow(m_settingsButton);
}

void ConnectionBar::refresh() {
    // The model may normalise what was typed; never move the cursor of an unchanged text.
    if (m_host->text() != m_model.host()) {
        m_host->setText(m_model.host());
    }
    if (m_port->text() != m_model.portText()) {
        m_port->setText(m_model.portText());
    }
    const PollerState state = m_model.state();
    const bool reading = state != PollerState::stopped;
    const bool portValid = m_model.parsedPort().has_value();
    m_host->setLook(reading, m_model.host().trimmed().isEmpty());
    m_port->setLook(reading, !portValid);
    m_port->setToolTip(qtText(portValid ? L10n::TCP::portHelp() : L10n::TCP::portInvalid()));
    m_startStop->setState(state);
    m_startStop->setEnabled(reading || m_model.canStart());
    m_dot->setState(state);
}

void ConnectionBar::refreshIcons() {
    m_settingsButton->setIcon(Icons::symbolIcon(u"slider.horizontal.3", palette()));
}

void ConnectionBar::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        refreshIcons();
    }
}

}  // namespace tessarin
