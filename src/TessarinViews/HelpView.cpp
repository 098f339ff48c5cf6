#include "TessarinViews/HelpView.hpp"

#include "Localization/HelpTopics.hpp"
#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/HelpTopicView.hpp"
#include "TessarinViews/Icons.hpp"
#include "TessarinViews/Theme.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tessarin {

namespace {

constexpr int topicIDRole = Qt::UserRole;

}  // namespace

HelpView::HelpView(QWidget* parent) : QWidget(parent), m_topics(L10n::Help::topics()), m_state(m_topics) {
    setMinimumSize(minimumContentSize);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    layout->addWidget(splitter);

    auto* sidebar = new QWidget(splitter);
    sidebar->setMinimumWidth(sidebarMinimumWidth);
    auto* sidebarLayout = new QVBoxLayout(sidebar);
    sidebarLayout->setContentsMargins(8, 8, 0, 8);
    sidebarLayout->setSpacing(6);
    m_search = new QLineEdit(sidebar);
    m_search->setPlaceholderText(qtText(L10n::Help::searchPrompt()));
    m_search->setClearButtonEnabled(true);
    m_search->addAction(Icons::symbolIcon(u"magnifyingglass", palette()), QLineEdit::LeadingPosition);
    sidebarLayout->addWidget(m_search);

    m_sidebarContent = new QStackedWidget(sidebar);
    m_list = new QListWidget(m_sidebarContent);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setIconSize(QSize(16, 16));
    m_noResults = new QLabel(qtText(L10n::Help::noResults()), m_sidebarContent);
    m_noResults->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_noResults->setWordWrap(true);
    m_noResults->setContentsMargins(0, 16, 0, 0);
    QPalette colours = m_noResults->palette();
    colours.setColor(QPalette::WindowText, Theme::secondaryText(colours));
    m_noResults->setPalette(colours);
    m_sidebarContent->addWidget(m_list);
    m_sidebarContent->addWidget(m_noResults);
    sidebarLayout->addWidget(m_sidebarContent, 1);

    m_detail = new HelpTopicView(splitter);
    splitter->addWidget(sidebar);
    splitter->addWidget(m_detail);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({sidebarIdealWidth, width() - sidebarIdealWidth});

    connect(m_search, &QLineEdit::textChanged, this, &HelpView::search);
    connect(m_list, &QListWidget::currentRowChanged, this, &HelpView::listSelectionChanged);

    if (!m_topics.empty()) {
        m_state.select(m_topics.front().id);
    }
    refreshList();
    refreshDetail();
}

bool HelpView::listShown() const {
    return m_sidebarContent->currentWidget() == m_list;
}

void HelpView::search(const QString& text) {
    m_state.setSearchText(text);
    refreshList();
    refreshDetail();
}

void HelpView::listSelectionChanged() {
    if (m_refreshingList) {
        return;
    }
    const QListWidgetItem* item = m_list->currentItem();
    if (item == nullptr) {
        return;
    }
    m_state.select(utf8Text(item->data(topicIDRole).toString()));
    refreshDetail();
}

void HelpView::refreshList() {
    m_refreshingList = true;
    m_list->clear();
    for (const HelpTopic* topic : m_state.filtered()) {
        auto* item = new QListWidgetItem(Icons::symbolIcon(qtText(topic->symbol), palette()),
                                         qtText(topic->title), m_list);
        item->setData(topicIDRole, qtText(topic->id));
        if (m_state.selection() == topic->id) {
            m_list->setCurrentItem(item);
        }
    }
    m_refreshingList = false;
    m_sidebarContent->setCurrentWidget(m_state.filtered().empty() ? static_cast<QWidget*>(m_noResults)
                                                                  : static_cast<QWidget*>(m_list));
}

void HelpView::refreshDetail() {
    const HelpTopic* topic = m_state.selectedTopic();
    if (topic == nullptr || (m_detail->topic() && m_detail->topic()->id == topic->id)) {
        return;
    }
    m_detail->setTopic(*topic);
}

}  // namespace tessarin
