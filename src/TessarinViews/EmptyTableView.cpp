#include "TessarinViews/EmptyTableView.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/Icons.hpp"
#include "TessarinViews/Tone.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tessarin {

namespace {

constexpr int symbolSide = 28;
constexpr int textWidth = 400;

}  // namespace

EmptyTableView::EmptyTableView(QWidget* parent)
    : QWidget(parent),
      m_add(new QPushButton(qtText(L10n::Table::add()), this)),
      m_import(new QPushButton(qtText(L10n::Menu::importCSV()), this)) {
    auto* column = new QVBoxLayout(this);
    column->addStretch(1);
    auto* symbol = new QLabel(this);
    symbol->setPixmap(
        Icons::symbolIcon(u"tablecells", toneColor(Tone::secondary, palette())).pixmap(symbolSide));
    column->addWidget(symbol, 0, Qt::AlignHCenter);
    auto* title = new QLabel(qtText(L10n::Table::emptyTitle()), this);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    titleFont.setWeight(QFont::DemiBold);
    title->setFont(titleFont);
    column->addWidget(title, 0, Qt::AlignHCenter);
    auto* text = new QLabel(qtText(L10n::Table::emptyText()), this);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignHCenter);
    // A centred item gets no height-for-width from the layout, so the wrapped height is fixed here.
    text->setFixedWidth(std::min(textWidth, text->fontMetrics().horizontalAdvance(text->text()) + 4));
    text->setFixedHeight(text->heightForWidth(text->width()));
    QPalette quiet = text->palette();
    quiet.setColor(QPalette::WindowText, toneColor(Tone::secondary, palette()));
    text->setPalette(quiet);
    column->addWidget(text, 0, Qt::AlignHCenter);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_add->setIcon(Icons::symbolIcon(u"plus", palette()));
    buttons->addWidget(m_add);
    buttons->addWidget(m_import);
    buttons->addStretch(1);
    column->addSpacing(4);
    column->addLayout(buttons);
    column->addStretch(1);
    connect(m_add, &QPushButton::clicked, this, &EmptyTableView::addRequested);
    connect(m_import, &QPushButton::clicked, this, &EmptyTableView::importRequested);
}

}  // namespace tessarin
