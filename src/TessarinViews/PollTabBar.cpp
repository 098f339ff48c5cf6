#include "TessarinViews/PollTabBar.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/Icons.hpp"
#include "TessarinViews/PollTab.hpp"
#include "TessarinViews/Tone.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <utility>

namespace tessarin {

namespace {

constexpr int nameWidth = 140;
constexpr int minTabsWidth = 120;
constexpr int dividerHeight = 16;

// A scroll area that asks for the whole width of its tabs, so that the row gives them room
// before anything scrolls; the plain one asks only for what it was last given. It reports its
// resizes, after which its scroll bar may come or go.
class TabScroller final : public QScrollArea {
public:
    TabScroller(QWidget* parent, std::function<void()> resized)
        : QScrollArea(parent), m_resized(std::move(resized)) {}

    [[nodiscard]] QSize sizeHint() const override {
        const QSize content = widget() != nullptr ? widget()->sizeHint() : QSize();
        return {content.width() + 2 * frameWidth(), QScrollArea::sizeHint().height()};
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QScrollArea::resizeEvent(event);
        m_resized();
    }

private:
    std::function<void()> m_resized;
};

}  // namespace

PollTabBar::PollTabBar(PollerModel& model, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_scroll(new TabScroller(this, [this] { fitScrollHeight(); })),
      m_tabRow(new QWidget),
      m_tabLayout(new QHBoxLayout(m_tabRow)),
      m_newPoll(new QToolButton(this)),
      m_settings(new QWidget(this)),
      m_name(new QLineEdit(m_settings)),
      m_interval(new QComboBox(m_settings)),
      m_active(new QCheckBox(qtText(L10n::Polls::active()), m_settings)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 6, 10, 6);
    row->setSpacing(8);

    m_tabLayout->setContentsMargins(1, 1, 1, 1);
    m_tabLayout->setSpacing(6);
    m_tabLayout->addStretch(1);
    m_scroll->setWidget(m_tabRow);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setMinimumWidth(minTabsWidth);
    m_scroll->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_tabRow->setAutoFillBackground(false);
    row->addWidget(m_scroll);

    m_newPoll->setAutoRaise(true);
    m_newPoll->setIcon(Icons::symbolIcon(u"plus", palette()));
    m_newPoll->setIconSize({20, 20});
    m_newPoll->setAccessibleName(qtText(L10n::Polls::add()));
    m_newPoll->setToolTip(qtText(L10n::Polls::addHelp()));
    connect(m_newPoll, &QToolButton::clicked, this, [this] {
        Q_EMIT aboutToEdit();
        m_model.addPoll();
    });
    row->addWidget(m_newPoll);

    auto* settings = new QHBoxLayout(m_settings);
    settings->setContentsMargins(0, 0, 0, 0);
    settings->setSpacing(8);
    auto* divider = new QFrame(m_settings);
    divider->setFrameShape(QFrame::VLine);
    divider->setFixedHeight(dividerHeight);
    settings->addWidget(divider);
    m_name->setPlaceholderText(qtText(L10n::Polls::namePlaceholder()));
    m_name->setFixedWidth(nameWidth);
    settings->addWidget(m_name);
    auto* intervalLabel = new QLabel(qtText(L10n::Polls::interval()), m_settings);
    settings->addWidget(intervalLabel);
    intervalLabel->setBuddy(m_interval);
    for (const int ms : intervalsMs) {
        m_interval->addItem(qtText(L10n::Polls::intervalLabel(ms)), ms);
    }
    m_interval->setToolTip(qtText(L10n::Polls::intervalHelp()));
    settings->addWidget(m_interval);
    m_active->setToolTip(qtText(L10n::Polls::activeHelp()));
    settings->addWidget(m_active);
    row->addWidget(m_settings);
    row->addStretch(1);

    const auto editSelected = [this](auto change) {
        if (const auto& pollID = m_model.selectedPollID()) m_model.editPoll(*pollID, change);
    };
    connect(m_name, &QLineEdit::textEdited, this,
            [editSelected](const QString& text) { editSelected([&](Poll& poll) { poll.name = utf8Text(text); }); });
    connect(m_interval, &QComboBox::activated, this, [this, editSelected](int index) {
        const int ms = m_interval->itemData(index).toInt();
        editSelected([ms](Poll& poll) { poll.intervalMs = ms; });
    });
    connect(m_active, &QCheckBox::toggled, this,
            [editSelected](bool on) { editSelected([on](Poll& poll) { poll.enabled = on; }); });

    connect(&m_model, &PollerModel::pollsChanged, this, &PollTabBar::rebuildTabs);
    connect(&m_model, &PollerModel::selectedPollIDChanged, this, &PollTabBar::rebuildTabs);
    connect(&m_model, &PollerModel::stateChanged, this, &PollTabBar::scheduleLookRefresh);
    connect(&m_model, &PollerModel::pointStatusChanged, this, &PollTabBar::scheduleLookRefresh);
    connect(&m_model, &PollerModel::statusCleared, this, &PollTabBar::scheduleLookRefresh);
    rebuildTabs();
}

QColor PollTabBar::dotColor(const Poll& poll) const {
    if (m_model.state() != PollerState::stopped && poll.enabled) {
        if (const auto healthy = m_model.health(poll)) {
            return toneColor(*healthy ? Tone::green : Tone::orange, palette());
        }
    }
    return withOpacity(toneColor(Tone::secondary, palette()), 0.5);
}

void PollTabBar::rebuildTabs() {
    const auto& polls = m_model.polls();
    const bool same = std::ranges::equal(polls, m_tabs, [](const Poll& poll, const PollTab* tab) {
        return poll.id == tab->pollID();
    });
    if (!same) {
        // Later: the click or menu that led here may still be running on one of them.
        for (PollTab* tab : m_tabs) {
            m_tabLayout->removeWidget(tab);
            tab->hide();
            tab->deleteLater();
        }
        m_tabs.clear();
        for (const Poll& poll : polls) {
            auto* tab = new PollTab(poll.id, m_tabRow);
            tab->setToolTip(qtText(L10n::Polls::tabHelp()));
            tab->setContextMenuPolicy(Qt::CustomContextMenu);
            const Uuid pollID = poll.id;
            connect(tab, &PollTab::clicked, this, [this, pollID] {
                Q_EMIT aboutToEdit();
                m_model.setSelectedPollID(pollID);
            });
            connect(tab, &PollTab::customContextMenuRequested, this, [this, tab, pollID](const QPoint& at) {
                QMenu* menu = makeTabMenu(pollID, tab);
                menu->setAttribute(Qt::WA_DeleteOnClose);
                menu->popup(tab->mapToGlobal(at));
            });
            m_tabLayout->insertWidget(static_cast<int>(m_tabs.size()), tab);
            m_tabs.push_back(tab);
        }
    }
    refreshLooks();
    refreshSettings();
    m_scroll->updateGeometry();
    fitScrollHeight();
}

// As high as a tab, plus the scroll bar only while the tabs do not all fit.
void PollTabBar::fitScrollHeight() {
    const int tabHeight = m_tabs.empty() ? fontMetrics().height() : m_tabs.front()->sizeHint().height();
    const bool overflows = m_tabRow->sizeHint().width() > m_scroll->width();
    const int bar = overflows ? m_scroll->horizontalScrollBar()->sizeHint().height() : 0;
    m_scroll->setFixedHeight(tabHeight + 2 + bar);
}

void PollTabBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitScrollHeight();
}

void PollTabBar::scheduleLookRefresh() {
    // Reads arrive in bursts, one event per block; one repaint per burst is enough.
    if (m_lookRefreshPending) return;
    m_lookRefreshPending = true;
    QTimer::singleShot(0, this, [this] {
        m_lookRefreshPending = false;
        refreshLooks();
    });
}

void PollTabBar::refreshLooks() {
    const auto& polls = m_model.polls();
    for (std::size_t i = 0; i < m_tabs.size() && i < polls.size(); ++i) {
        const Poll& poll = polls[i];
        const QString title = poll.name.empty() ? qtText(L10n::Polls::unnamed()) : qtText(poll.name);
        m_tabs[i]->setLook({title, !poll.enabled, m_model.selectedPollID() == poll.id, dotColor(poll)});
        if (m_tabs[i]->look().selected) m_scroll->ensureWidgetVisible(m_tabs[i], 8, 0);
    }
}

void PollTabBar::refreshSettings() {
    const Poll* poll = m_model.selectedPoll();
    m_settings->setVisible(poll != nullptr);
    if (poll == nullptr) return;
    const QString name = qtText(poll->name);
    if (m_name->text() != name) {
        const int cursor = m_name->cursorPosition();
        m_name->setText(name);
        m_name->setCursorPosition(std::min(cursor, static_cast<int>(name.size())));
    }
    const QSignalBlocker blockInterval(m_interval);
    int at = m_interval->findData(poll->intervalMs);
    if (at < 0) {
        // A project from elsewhere may hold any interval; show it rather than a wrong one.
        m_interval->addItem(qtText(L10n::Polls::intervalLabel(poll->intervalMs)), poll->intervalMs);
        at = m_interval->count() - 1;
    }
    m_interval->setCurrentIndex(at);
    const QSignalBlocker blockActive(m_active);
    m_active->setChecked(poll->enabled);
}

QMenu* PollTabBar::makeTabMenu(const Uuid& pollID, QWidget* parent) {
    auto* menu = new QMenu(parent);
    connect(menu->addAction(qtText(L10n::Polls::duplicate())), &QAction::triggered, this, [this, pollID] {
        Q_EMIT aboutToEdit();
        m_model.duplicatePoll(pollID);
    });
    QAction* remove = menu->addAction(qtText(L10n::Polls::remove()));
    remove->setEnabled(m_model.polls().size() > 1);
    connect(remove, &QAction::triggered, this, [this, pollID] { confirmRemoval(pollID); });
    return menu;
}

void PollTabBar::confirmRemoval(const Uuid& pollID) {
    if (m_confirmation != nullptr) return;
    m_confirmDelete = pollID;
    auto* box = new QMessageBox(QMessageBox::Warning, qtText(L10n::Polls::removeTitle()),
                                qtText(L10n::Polls::removeTitle()), QMessageBox::NoButton, this);
    box->setInformativeText(qtText(L10n::Polls::removeMessage()));
    QPushButton* remove = box->addButton(qtText(L10n::Polls::remove()), QMessageBox::DestructiveRole);
    QPushButton* cancel = box->addButton(qtText(L10n::Import::cancel()), QMessageBox::RejectRole);
    box->setDefaultButton(cancel);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    connect(box, &QMessageBox::finished, this, [this, box, remove] {
        m_confirmation = nullptr;
        const std::optional<Uuid> confirmed = std::exchange(m_confirmDelete, std::nullopt);
        if (box->clickedButton() == remove && confirmed) {
            Q_EMIT aboutToEdit();
            m_model.removePoll(*confirmed);
        }
    });
    m_confirmation = box;
    box->open();
}

}  // namespace tessarin
