#pragma once

#include "Localization/HelpTopic.hpp"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace tessarin {

// What the help window's list shows and which topic its detail shows. Searching matches the
// trimmed text case-insensitively against each topic's searchable text as the window shows it
// (shortcuts in this platform's spelling). The selection may name a topic the filter hides:
// the detail keeps showing it until a search lists other topics.
class HelpViewState {
public:
    // topics must outlive the state.
    explicit HelpViewState(const std::vector<HelpTopic>& topics);

    [[nodiscard]] const QString& searchText() const { return m_searchText; }
    // Filters, then, when the list is not empty and does not hold the selection, selects its
    // first topic.
    void setSearchText(const QString& text);

    [[nodiscard]] const std::vector<const HelpTopic*>& filtered() const { return m_filtered; }

    [[nodiscard]] const std::optional<std::string>& selection() const { return m_selection; }
    // An id that names no topic clears the selection.
    void select(const std::optional<std::string>& id);
    [[nodiscard]] const HelpTopic* selectedTopic() const;

private:
    const std::vector<HelpTopic>& m_topics;
    std::vector<QString> m_searchable;  // per topic, in list order
    std::vector<const HelpTopic*> m_filtered;
    QString m_searchText;
    std::optional<std::string> m_selection;
};

}  // namespace tessarin
