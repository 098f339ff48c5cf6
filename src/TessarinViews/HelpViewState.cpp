#include "TessarinViews/HelpViewState.hpp"

#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/ShortcutText.hpp"

#include <algorithm>

namespace tessarin {

HelpViewState::HelpViewState(const std::vector<HelpTopic>& topics) : m_topics(topics) {
    m_searchable.reserve(topics.size());
    for (const HelpTopic& topic : topics) {
        m_searchable.push_back(ShortcutText::native(qtText(topic.searchableText())));
        m_filtered.push_back(&topic);
    }
}

void HelpViewState::setSearchText(const QString& text) {
    m_searchText = text;
    const QString query = text.trimmed();
    m_filtered.clear();
    for (std::size_t i = 0; i < m_topics.size(); ++i) {
        if (query.isEmpty() || m_searchable[i].contains(query, Qt::CaseInsensitive)) {
            m_filtered.push_back(&m_topics[i]);
        }
    }
    const bool selectionListed = std::ranges::any_of(
        m_filtered, [this](const HelpTopic* topic) { return m_selection && topic->id == *m_selection; });
    if (!m_filtered.empty() && !selectionListed) {
        m_selection = m_filtered.front()->id;
    }
}

void HelpViewState::select(const std::optional<std::string>& id) {
    m_selection = id;
    if (selectedTopic() == nullptr) {
        m_selection.reset();
    }
}

const HelpTopic* HelpViewState::selectedTopic() const {
    if (!m_selection) {
        return nullptr;
    }
    const auto found =
        std::ranges::find_if(m_topics, [this](const HelpTopic& topic) { return topic.id == *m_selection; });
    return found == m_topics.end() ? nullptr : &*found;
}

}  // namespace tessarin
