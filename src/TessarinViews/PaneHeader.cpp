#include "TessarinViews/PaneHeader.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/ChartPeriodPicker.hpp"
#include "TessarinViews/Icons.hpp"
#include "TessarinViews/ThemedButton.hpp"

#include <QActionGroup>
#include <QHBoxLayout>
#include <QMenu>
#include <QToolButton>

namespace tessarin {

namespace {

struct PaneLook {
    std::string (*text)(Language);
    const char16_t* symbol;
};

// Indexed by BottomPane.
constexpr std::array<PaneLook, bottomPaneNames.size()> paneLooks{{
    {[](Language language) { return L10n::Pane::log(language); }, u"text.alignleft"},
    {[](Language language) { return L10n::Pane::chart(language); }, u"chart.xyaxis.line"},
}};

const PaneLook& lookOf(BottomPane pane) {
    return paneLooks[static_cast<std::size_t>(pane)];
}

ThemedButton* historyButton(const std::string& text, const std::string& tip, QWidget* parent) {
    auto* button = new ThemedButton(qtText(text), parent);
    button->setToolTip(qtText(tip));
    return button;
}

}  // namespace

PaneHeader::PaneHeader(PollerModel& model, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("paneHeader"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 3, 8, 3);
    layout->setSpacing(8);

    m_menuButton = new QToolButton(this);
    m_menuButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_menuButton->setPopupMode(QToolButton::InstantPopup);
    m_menuButton->setAutoRaise(true);
    m_menuButton->setAccessibleName(qtText(L10n::Pane::title()));
    auto* menu = new QMenu(m_menuButton);
    auto* group = new QActionGroup(menu);
    for (const BottomPane pane : {BottomPane::log, BottomPane::chart}) {
        const PaneLook& look = lookOf(pane);
        QAction* action =
            menu->addAction(Icons::symbolIcon(look.symbol, palette()), qtText(look.text(currentLanguage())));
        action->setCheckable(true);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, pane] { Q_EMIT paneChosen(pane); });
        (pane == BottomPane::log ? m_logAction : m_chartAction) = action;
    }
    m_menuButton->setMenu(menu);

    m_period = new ChartPeriodPicker(this);
    m_clearHistory = historyButton(L10n::Pane::clearHistory(), L10n::Pane::clearHistoryHelp(), this);
    m_exportHistory = historyButton(L10n::Pane::exportHistory(), L10n::Pane::exportHistoryHelp(), this);
    layout->addWidget(m_menuButton);
    layout->addStretch(1);
    layout->addWidget(m_period);
    layout->addWidget(m_clearHistory);
    layout->addWidget(m_exportHistory);

    connect(m_clearHistory, &QPushButton::clicked, &model, &PollerModel::clearHistory);
    connect(m_exportHistory, &QPushButton::clicked, &model, &PollerModel::exportHistory);
    setPane(BottomPane::log);
}

QAction* PaneHeader::paneAction(BottomPane pane) const {
    return pane == BottomPane::log ? m_logAction : m_chartAction;
}

void PaneHeader::setPane(BottomPane pane) {
    const PaneLook& look = lookOf(pane);
    m_menuButton->setText(qtText(look.text(currentLanguage())));
    m_menuButton->setIcon(Icons::symbolIcon(look.symbol, palette()));
    paneAction(pane)->setChecked(true);
    const bool chart = pane == BottomPane::chart;
    m_period->setVisible(chart);
    m_clearHistory->setVisible(chart);
    m_exportHistory->setVisible(chart);
}

}  // namespace tessarin
