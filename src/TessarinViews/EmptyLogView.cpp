#include "TessarinViews/EmptyLogView.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/Icons.hpp"
#include "TessarinViews/ShortcutText.hpp"
#include "TessarinViews/Theme.hpp"
#include "TessarinViews/ThemedButton.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tessarin {

namespace {

constexpr int symbolSize = 40;
constexpr qreal titleScale = 1.6;

}  // namespace

EmptyLogView::EmptyLogView(PollerModel& model, QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("emptyLog"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(10);
    layout->addStretch(1);

    auto* symbol = new QLabel(content);
    QColor tint = Theme::secondaryText(palette());
    symbol->setPixmap(Icons::symbolPixmap(u"arrow.triangle.2.circlepath", tint, QSize(symbolSize, symbolSize),
                                          devicePixelRatioF()));
    layout->addWidget(symbol, 0, Qt::AlignHCenter);

    auto* title = new QLabel(qtText(L10n::Notice::emptyTitle()), content);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * titleScale);
    titleFont.setWeight(QFont::Medium);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignHCenter);
    layout->addWidget(title, 0, Qt::AlignHCenter);

    auto* steps = new QLabel(ShortcutText::native(qtText(L10n::Notice::emptySteps())), content);
    steps->setWordWrap(true);
    steps->setAlignment(Qt::AlignHCenter);
    steps->setMaximumWidth(textMaximumWidth);
    QPalette colours = steps->palette();
    colours.setColor(QPalette::WindowText, Theme::secondaryText(colours));
    steps->setPalette(colours);
    // Between two stretches the label grows to its maximum width and stays centred; aligned in the
    // column it would keep the narrow width of its size hint and cut off its last lines.
    steps->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* row = new QHBoxLayout();
    row->addStretch(1);
    row->addWidget(steps, 100);
    row->addStretch(1);
    layout->addLayout(row);

    m_start = new ThemedButton(qtText(L10n::Notice::startPolling()), content);
    m_start->setIcon(Icons::symbolIcon(u"play.fill", palette()));
    m_start->setOn(true);
    layout->addSpacing(4);
    layout->addWidget(m_start, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    setWidget(content);
    // Set after setWidget, which turns it on: the log's backdrop shows through the panel.
    content->setAutoFillBackground(false);

    connect(m_start, &QPushButton::clicked, &model, &PollerModel::start);
}

}  // namespace tessarin
