#include "TessarinViews/HelpTopicView.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/Assets.hpp"
#include "TessarinViews/HelpScreenshotView.hpp"
#include "TessarinViews/Icons.hpp"
#include "TessarinViews/InlineMarkdown.hpp"
#include "TessarinViews/ShortcutText.hpp"
#include "TessarinViews/Theme.hpp"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

#include <type_traits>

namespace tessarin {

namespace {

// Sizes relative to the body text, as the desktop's large title, title 3 and caption styles.
constexpr qreal largeTitleScale = 1.9;
constexpr qreal headingScale = 1.35;
constexpr qreal captionScale = 0.85;
constexpr int blockSpacing = 12;
constexpr int keyColumnWidth = 220;

QFont scaledFont(const QWidget* widget, qreal scale, QFont::Weight weight) {
    QFont font = widget->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setWeight(weight);
    return font;
}

QString shown(std::string_view text) {
    return ShortcutText::native(qtText(text));
}

QLabel* textLabel(const QString& text, Qt::TextFormat format, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(format);
    label->setText(text);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

QLabel* markdownLabel(std::string_view markdown, QWidget* parent) {
    return textLabel(InlineMarkdown::toHtml(shown(markdown)), Qt::RichText, parent);
}

QLabel* symbolLabel(QStringView symbol, int size, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(
        Icons::symbolIcon(symbol, parent->palette()).pixmap(QSize(size, size), parent->devicePixelRatioF()));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

HelpTopicView::HelpTopicView(QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* holder = new QWidget(this);
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(28, 24, 28, 24);
    m_page = new QWidget(holder);
    m_page->setMaximumWidth(maxContentWidth);
    row->addWidget(m_page, 1, Qt::AlignTop);
    row->addStretch(0);

    m_blocks = new QVBoxLayout(m_page);
    m_blocks->setContentsMargins(0, 0, 0, 0);
    m_blocks->setSpacing(blockSpacing);
    setWidget(holder);
}

void HelpTopicView::setTopic(const HelpTopic& topic, Language language) {
    while (QLayoutItem* item = m_blocks->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_topic = topic;

    auto* titleRow = new QWidget(m_page);
    auto* titleLayout = new QHBoxLayout(titleRow);
    titleLayout->setContentsMargins(0, 0, 0, 4);
    titleLayout->setSpacing(10);
    m_title = textLabel(qtText(topic.title), Qt::PlainText, titleRow);
    m_title->setFont(scaledFont(this, largeTitleScale, QFont::DemiBold));
    const int symbolSize = QFontMetrics(m_title->font()).height();
    titleLayout->addWidget(symbolLabel(qtText(topic.symbol), symbolSize, titleRow), 0, Qt::AlignVCenter);
    titleLayout->addWidget(m_title, 1);
    m_blocks->addWidget(titleRow);

    for (const HelpBlock& block : topic.blocks) {
        addBlock(block, language);
    }
    m_blocks->addStretch(1);
    verticalScrollBar()->setValue(0);
}

void HelpTopicView::addBlock(const HelpBlock& block, Language language) {
    std::visit(
        [this, language](const auto& content) {
            using Content = std::decay_t<decltype(content)>;
            if constexpr (std::is_same_v<Content, HelpBlock::Paragraph>) {
                m_blocks->addWidget(markdownLabel(content.text, m_page));
            } else if constexpr (std::is_same_v<Content, HelpBlock::Heading>) {
                QLabel* heading = textLabel(shown(content.text), Qt::PlainText, m_page);
                heading->setFont(scaledFont(this, headingScale, QFont::DemiBold));
                m_blocks->addWidget(heading);
            } else if constexpr (std::is_same_v<Content, HelpBlock::Bullets>) {
                auto* list = new QWidget(m_page);
                auto* grid = new QGridLayout(list);
                grid->setContentsMargins(4, 0, 0, 0);
                grid->setHorizontalSpacing(8);
                grid->setColumnStretch(1, 1);
                int row = 0;
                for (const std::string& item : content.items) {
                    grid->addWidget(textLabel(QStringLiteral("•"), Qt::PlainText, list), row, 0,
                                    Qt::AlignTop);
                    grid->addWidget(markdownLabel(item, list), row, 1, Qt::AlignTop);
                    ++row;
                }
                m_blocks->addWidget(list);
            } else if constexpr (std::is_same_v<Content, HelpBlock::Table>) {
                auto* table = new QWidget(m_page);
                auto* grid = new QGridLayout(table);
                grid->setContentsMargins(0, 0, 0, 0);
                grid->setHorizontalSpacing(16);
                grid->setColumnStretch(1, 1);
                int row = 0;
                for (const HelpRow& cells : content.rows) {
                    QLabel* key = textLabel(QStringLiteral("<b>") + InlineMarkdown::toHtml(shown(cells.key)) +
                                                QStringLiteral("</b>"),
                                            Qt::RichText, table);
                    key->setMaximumWidth(keyColumnWidth);
                    grid->addWidget(key, row, 0, Qt::AlignTop);
                    grid->addWidget(markdownLabel(cells.value, table), row, 1, Qt::AlignTop);
                    ++row;
                }
                m_blocks->addWidget(table);
            } else if constexpr (std::is_same_v<Content, HelpBlock::Tip>) {
                auto* box = new QFrame(m_page);
                box->setObjectName(QStringLiteral("helpTip"));
                box->setStyleSheet(
                    QStringLiteral("QFrame#helpTip { background-color: rgba(0, 129, 132, 30); "
                                   "border-radius: 8px; }"));
                auto* layout = new QHBoxLayout(box);
                layout->setContentsMargins(12, 10, 12, 10);
                layout->setSpacing(8);
                const int symbolSize = QFontMetrics(font()).height();
                layout->addWidget(symbolLabel(u"lightbulb.fill", symbolSize, box), 0, Qt::AlignTop);
                auto* texts = new QVBoxLayout();
                texts->setSpacing(2);
                QLabel* label = textLabel(qtText(L10n::Help::tipLabel(language)), Qt::PlainText, box);
                label->setFont(scaledFont(this, 1.0, QFont::DemiBold));
                texts->addWidget(label);
                texts->addWidget(markdownLabel(content.text, box));
                layout->addLayout(texts, 1);
                m_blocks->addWidget(box);
            } else if constexpr (std::is_same_v<Content, HelpBlock::Screenshot>) {
                QImage image = Assets::helpScreenshot(qtText(content.name), language);
                if (image.isNull()) {
                    return;
                }
                m_blocks->addWidget(new HelpScreenshotView(std::move(image), m_page));
                QLabel* caption = textLabel(qtText(content.caption), Qt::PlainText, m_page);
                caption->setFont(scaledFont(this, captionScale, QFont::Normal));
                QPalette colours = caption->palette();
                colours.setColor(QPalette::WindowText, Theme::secondaryText(colours));
                caption->setPalette(colours);
                m_blocks->addWidget(caption);
            }
        },
        block.content);
}

}  // namespace tessarin
