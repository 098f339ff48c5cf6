#pragma once

#include "Localization/HelpTopic.hpp"
#include "Localization/Language.hpp"

#include <QScrollArea>

#include <optional>

class QLabel;
class QVBoxLayout;

namespace tessarin {

// One help topic as a page: the title with its symbol, then every block in order, at most
// maxContentWidth wide. Texts render their inline Markdown, show shortcuts the platform's way,
// and can be selected and copied. A screenshot shows in the page's language, or in English
// when that is all there is, and not at all when there is none.
class HelpTopicView final : public QScrollArea {
    Q_OBJECT

public:
    static constexpr int maxContentWidth = 680;

    explicit HelpTopicView(QWidget* parent = nullptr);

    // Replaces the page; language is the one the topic is written in (its screenshots and labels).
    void setTopic(const HelpTopic& topic, Language language = currentLanguage());
    [[nodiscard]] const std::optional<HelpTopic>& topic() const { return m_topic; }

    [[nodiscard]] QLabel* titleLabel() const { return m_title; }

private:
    void addBlock(const HelpBlock& block, Language language);

    QWidget* m_page = nullptr;
    QVBoxLayout* m_blocks = nullptr;
    QLabel* m_title = nullptr;
    std::optional<HelpTopic> m_topic;
};

}  // namespace tessarin
