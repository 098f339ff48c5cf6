#include "TessarinViews/ConnectionSettingsPopover.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/FormCaption.hpp"
#include "TessarinViews/ThemedPickerBox.hpp"
#include "TessarinViews/ThemedToggle.hpp"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tessarin {

namespace {

void selectData(ThemedPickerBox* picker, int value) {
    const int index = picker->findData(value);
    if (index >= 0 && index != picker->currentIndex()) {
        picker->setCurrentIndex(index);
    }
}

}  // namespace

ConnectionSettingsPopover::ConnectionSettingsPopover(PollerModel& model, QWidget* parent)
    : PopoverPanel(panelWidth, parent), m_model(model) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(8);

    // Protocol: a two-way segmented choice.
    auto* framingForm = new QFormLayout;
    m_framingRow = new QWidget(this);
    auto* segments = new QHBoxLayout(m_framingRow);
    segments->setContentsMargins(0, 0, 0, 0);
    segments->setSpacing(0);
    m_modbusTCP = new ThemedToggle(qtText(L10n::TCP::modbusTCP()), m_framingRow);
    m_rtuOverTCP = new ThemedToggle(qtText(L10n::TCP::rtuOverTCP()), m_framingRow);
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    group->addButton(m_modbusTCP);
    group->addButton(m_rtuOverTCP);
    segments->addWidget(m_modbusTCP);
    segments->addWidget(m_rtuOverTCP);
    segments->addStretch();
    framingForm->addRow(qtText(L10n::TCP::framing()), m_framingRow);
    m_modbusTCP->setAccessibleName(qtText(L10n::TCP::modbusTCP()));
    m_rtuOverTCP->setAccessibleName(qtText(L10n::TCP::rtuOverTCP()));
    layout->addLayout(framingForm);
    layout->addWidget(new FormCaption(qtText(L10n::TCP::framingHelp()), this));

    auto* requests = new QGroupBox(qtText(L10n::Settings::requests()), this);
    auto* form = new QFormLayout(requests);
    m_timeout = new ThemedPickerBox(requests);
    for (const int ms : PollerModel::allowedTimeoutsMs) {
        m_timeout->addItem(qtText(L10n::Settings::milliseconds(ms)), ms);
    }
    m_timeout->setToolTip(qtText(L10n::Settings::timeoutHelp()));
    m_timeout->setAccessibleName(qtText(L10n::Settings::responseTimeout()));
    form->addRow(qtText(L10n::Settings::responseTimeout()), m_timeout);

    m_combine = new ThemedPickerBox(requests);
    for (const int gap : gaps) {
        m_combine->addItem(qtText(L10n::Settings::gapLabel(gap)), gap);
    }
    m_combine->setToolTip(qtText(L10n::Settings::combineHelp()));
    m_combine->setAccessibleName(qtText(L10n::Settings::combine()));
    form->addRow(qtText(L10n::Settings::combine()), m_combine);

    m_writeMode = new ThemedPickerBox(requests);
    m_writeMode->addItem(qtText(L10n::Settings::writeSingle()), static_cast<int>(WriteMode::single));
    m_writeMode->addItem(qtText(L10n::Settings::writeMultiple()), static_cast<int>(WriteMode::multiple));
    m_writeMode->setToolTip(qtText(L10n::Settings::writeModeHelp()));
    m_writeMode->setAccessibleName(qtText(L10n::Settings::writeMode()));
    form->addRow(qtText(L10n::Settings::writeMode()), m_writeMode);
    layout->addWidget(requests);

    connect(m_modbusTCP, &QPushButton::clicked, this, [this] { m_model.setFraming(TCPFraming::modbusTCP); });
    connect(m_rtuOverTCP, &QPushButton::clicked, this, [this] { m_model.setFraming(TCPFraming::rtuOverTCP); });
    connect(m_timeout, &QComboBox::activated, this,
            [this](int index) { m_model.setTimeoutMs(m_timeout->itemData(index).toInt()); });
    connect(m_combine, &QComboBox::activated, this,
            [this](int index) { m_model.setMaxGap(m_combine->itemData(index).toInt()); });
    connect(m_writeMode, &QComboBox::activated, this,
            [this](int index) { m_model.setWriteMode(static_cast<WriteMode>(m_writeMode->itemData(index).toInt())); });

    for (const auto signal : {&PollerModel::framingChanged, &PollerModel::timeoutMsChanged,
                              &PollerModel::maxGapChanged, &PollerModel::writeModeChanged, &PollerModel::stateChanged}) {
        connect(&m_model, signal, this, &ConnectionSettingsPopover::refresh);
    }
    refresh();
}

void ConnectionSettingsPopover::refresh() {
    const bool stopped = m_model.state() == PollerState::stopped;
    m_modbusTCP->setChecked(m_model.framing() == TCPFraming::modbusTCP);
    m_rtuOverTCP->setChecked(m_model.framing() == TCPFraming::rtuOverTCP);
    const QString framingTip = qtText(stopped ? L10n::TCP::framingHelp() : L10n::Header::lockedWhileRunning());
    for (ThemedToggle* segment : {m_modbusTCP, m_rtuOverTCP}) {
        segment->setEnabled(stopped);
        segment->setToolTip(framingTip);
    }
    m_framingRow->setToolTip(framingTip);
    m_combine->setEnabled(stopped);
    selectData(m_timeout, m_model.timeoutMs());
    selectData(m_combine, m_model.maxGap());
    selectData(m_writeMode, static_cast<int>(m_model.writeMode()));
}

}  // namespace tessarin
