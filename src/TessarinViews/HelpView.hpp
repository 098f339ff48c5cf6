#pragma once

#include "Localization/HelpTopic.hpp"
#include "TessarinViews/HelpViewState.hpp"

#include <QWidget>

#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QSplitter;
class QStackedWidget;

namespace tessarin {

class HelpTopicView;

// The help window's content: a search field over the list of topics on the left, the
// selected topic on the right. A search that finds nothing says so in place of the list and
// leaves the topic on the right as it was.
class HelpView final : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize minimumContentSize{720, 460};
    static constexpr int sidebarMinimumWidth = 190;
    static constexpr int sidebarIdealWidth = 210;

    explicit HelpView(QWidget* parent = nullptr);

    [[nodiscard]] const HelpViewState& state() const { return m_state; }

    [[nodiscard]] QLineEdit* searchField() const { return m_search; }
    [[nodiscard]] QListWidget* topicList() const { return m_list; }
    [[nodiscard]] QLabel* noResultsLabel() const { return m_noResults; }
    [[nodiscard]] HelpTopicView* topicView() const { return m_detail; }
    // Whether the list shows, rather than the no-results text.
    [[nodiscard]] bool listShown() const;

private:
    void search(const QString& text);
    void listSelectionChanged();
    void refreshList();
    void refreshDetail();

    const std::vector<HelpTopic>& m_topics;
    HelpViewState m_state;
    QLineEdit* m_search = nullptr;
    QStackedWidget* m_sidebarContent = nullptr;
    QListWidget* m_list = nullptr;
    QLabel* m_noResults = nullptr;
    HelpTopicView* m_detail = nullptr;
    bool m_refreshingList = false;
};

}  // namespace tessarin
