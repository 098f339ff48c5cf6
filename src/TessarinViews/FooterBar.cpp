#include "TessarinViews/FooterBar.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/LogOptionsPopover.hpp"
#include "TessarinViews/ShortcutText.hpp"
#include "TessarinViews/Theme.hpp"
#include "TessarinViews/ThemedButton.hpp"
#include "TessarinViews/ThemedToggle.hpp"

#include <QHBoxLayout>
#include <QLabel>

#include <utility>

namespace tessarin {

namespace {

ThemedButton* footerButton(ThemedButton* button, const std::string& tip) {
    button->setToolTip(ShortcutText::native(qtText(tip)));
    button->setAccessibleName(button->text());
    return button;
}

}  // namespace

FooterBar::FooterBar(PollerModel& model, QWidget* parent) : QWidget(parent), m_model(model) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 5, 12, 5);
    layout->setSpacing(8);

    m_logToggle = new ThemedToggle(qtText(L10n::Footer::showLog()), this);
    footerButton(m_logToggle, L10n::Footer::showLogHelp());
    m_options = footerButton(new ThemedButton(qtText(L10n::Footer::options()), this), L10n::Footer::optionsHelp());
    m_statistics = new QLabel(this);
    m_statistics->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette colours = m_statistics->palette();
    colours.setColor(QPalette::WindowText, Theme::secondaryText(colours));
    m_statistics->setPalette(colours);
    m_save = footerButton(new ThemedButton(qtText(L10n::Footer::save()), this), L10n::Footer::saveHelp());
    m_clear = footerButton(new ThemedButton(qtText(L10n::Footer::clear()), this), L10n::Footer::clearHelp());
    m_logOptions = new LogOptionsPopover(m_model, this);

    layout->addWidget(m_logToggle);
    layout->addWidget(m_options);
    layout->addStretch();
    layout->addWidget(m_statistics);
    layout->addStretch();
    layout->addWidget(m_save);
    layout->addWidget(m_clear);

    connect(m_options, &QPushButton::clicked, this, &FooterBar::openLogOptions);
    connect(m_save, &QPushButton::clicked, &m_model, &PollerModel::saveLog);
    connect(m_clear, &QPushButton::clicked, &m_model, &PollerModel::clearLog);
    m_statisticsPause.setSingleShot(true);
    m_statisticsPause.setInterval(statisticsRefreshMs);
    connect(&m_statisticsPause, &QTimer::timeout, this, [this] {
        if (std::exchange(m_statisticsStale, false)) {
            refreshStatistics();
            m_statisticsPause.start();
        }
    });
    connect(&m_model, &PollerModel::statisticsChanged, this, &FooterBar::statisticsChanged);
    const auto refreshSave = [this] { m_save->setEnabled(!m_model.outputIsEmpty()); };
    connect(&m_model, &PollerModel::outputIsEmptyChanged, this, refreshSave);
    refreshSave();
    refreshStatistics();
}

void FooterBar::openLogOptions() {
    m_logOptions->openAbove(m_options);
}

void FooterBar::statisticsChanged() {
    if (m_statisticsPause.isActive()) {
        m_statisticsStale = true;
        return;
    }
    refreshStatistics();
    m_statisticsPause.start();
}

void FooterBar::refreshStatistics() {
    const PollerStatistics& counts = m_model.statistics();
    m_statistics->setText(qtText(L10n::Footer::statistics(counts.requests, counts.responses, counts.timeouts,
                                                          counts.exceptions, counts.errors)));
}

}  // namespace tessarin
