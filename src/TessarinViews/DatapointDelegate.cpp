#include "TessarinViews/DatapointDelegate.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/DatapointTableModel.hpp"
#include "TessarinViews/Icons.hpp"
#include "TessarinViews/Theme.hpp"
#include "TessarinViews/Tone.hpp"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace tessarin {

namespace {

constexpr int symbolSide = 14;
constexpr int cellMargin = 5;
constexpr int symbolGap = 5;
constexpr int checkSide = 14;

DatapointColumn columnOf(const QModelIndex& index) {
    return static_cast<DatapointColumn>(index.column());
}

// Text levels turn into the selection's text colour on a selected row; signal colours stay.
QColor inkFor(Tone tone, const QStyleOptionViewItem& option) {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    if (selected && (tone == Tone::primary || tone == Tone::secondary || tone == Tone::tertiary)) {
        const double opacity = tone == Tone::primary ? 1.0 : tone == Tone::secondary ? 0.75 : 0.5;
        return withOpacity(option.palette.color(QPalette::HighlightedText), opacity);
    }
    return toneColor(tone, option.palette);
}

}  // namespace

DatapointDelegate::DatapointDelegate(DatapointTableModel& model, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model) {}

QRect DatapointDelegate::pencilRect(const QRect& cell) {
    return {cell.right() - cellMargin - symbolSide + 1, cell.center().y() - symbolSide / 2, symbolSide,
            symbolSide};
}

bool DatapointDelegate::writable(const QModelIndex& index) const {
    const Datapoint* point = m_model.datapoint(index.row());
    return columnOf(index) == DatapointColumn::value && point != nullptr && isWritable(point->table);
}

void DatapointDelegate::paintBackground(QPainter* painter, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    background.icon = {};
    background.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);
}

void DatapointDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    switch (columnOf(index)) {
    case DatapointColumn::value:
        paintLiveValue(painter, option, index);
        return;
    case DatapointColumn::status:
        paintStatus(painter, option, index);
        return;
    case DatapointColumn::plot:
        paintCheck(painter, option, index);
        return;
    default:
        break;
    }
    QStyleOptionViewItem cell = option;
    const bool applies = index.data(DatapointTableModel::appliesRole).toBool();
    if (!applies) {
        cell.palette.setColor(QPalette::Text, cell.palette.color(QPalette::Disabled, QPalette::Text));
        cell.palette.setColor(QPalette::HighlightedText,
                              withOpacity(cell.palette.color(QPalette::HighlightedText), 0.55));
    }
    if (facts(columnOf(index)).picker && applies) {
        // The chevron gets its own room so a long choice is elided before it, not under it.
        paintBackground(painter, option, index);
        // At 12 pixels the two chevrons still read apart; smaller they merge into a diamond.
        const QRect chevron = pencilRect(option.rect).adjusted(1, 1, -1, -1);
        Icons::paintSymbol(*painter, chevron, u"chevron.up.chevron.down", inkFor(Tone::tertiary, option));
        cell.rect.setRight(chevron.left() - 2);
    }
    QStyledItemDelegate::paint(painter, cell, index);
}

void DatapointDelegate::paintLiveValue(QPainter* painter, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    paintBackground(painter, option, index);
    const auto tone = static_cast<Tone>(index.data(DatapointTableModel::toneRole).toInt());
    QRect textRect = option.rect.adjusted(cellMargin, 0, -cellMargin, 0);
    if (writable(index)) {
        const QRect pencil = pencilRect(option.rect);
        Icons::paintSymbol(*painter, pencil, u"pencil", inkFor(Tone::secondary, option));
        textRect.setRight(pencil.left() - symbolGap);
    }
    painter->save();
    painter->setPen(inkFor(tone, option));
    painter->setFont(option.font);
    const QString text = index.data(Qt::DisplayRole).toString();
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeading,
                      option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width()));
    painter->restore();
}

// Drawn in the theme's look because the style's own indicator nearly vanishes on a dark base;
// centred, as the whole narrow cell is what a click toggles.
void DatapointDelegate::paintCheck(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    paintBackground(painter, option, index);
    const int side = std::min({option.rect.width() - 2, option.rect.height() - 2, checkSide});
    const QRect square(option.rect.center().x() - side / 2, option.rect.center().y() - side / 2, side, side);
    const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    Theme::drawCheckBox(*painter, square, checked, option.palette,
                        option.state.testFlag(QStyle::State_Selected));
}

void DatapointDelegate::paintStatus(QPainter* painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    paintBackground(painter, option, index);
    const auto tone = static_cast<Tone>(index.data(DatapointTableModel::toneRole).toInt());
    const QString symbol = index.data(DatapointTableModel::symbolRole).toString();
    const QRect symbolRect(option.rect.left() + cellMargin, option.rect.center().y() - symbolSide / 2,
                           symbolSide, symbolSide);
    Icons::paintSymbol(*painter, symbolRect, symbol, inkFor(tone, option));
    QRect textRect = option.rect.adjusted(0, 0, -cellMargin, 0);
    textRect.setLeft(symbolRect.right() + 1 + symbolGap);
    painter->save();
    // Green or red text on the selection colour is hard to read; the symbol keeps the signal.
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : inkFor(tone, option));
    painter->setFont(option.font);
    const QString text = index.data(Qt::DisplayRole).toString();
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeading,
                      option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width()));
    painter->restore();
}

QSize DatapointDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), symbolSide + 10));
    return size;
}

QWidget* DatapointDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                                         const QModelIndex& index) const {
    const Datapoint* point = m_model.datapoint(index.row());
    if (point == nullptr) {
        return nullptr;
    }
    const DatapointColumn column = columnOf(index);
    if (facts(column).picker) {
        auto* combo = new QComboBox(parent);
        for (const auto& choice : DatapointTableModel::choices(column, *point)) {
            combo->addItem(choice.label, choice.value);
        }
        // A pick is the whole edit: commit it at once, as a click in a menu would.
        connect(combo, &QComboBox::activated, this, [this, combo] {
            auto* self = const_cast<DatapointDelegate*>(this);
            Q_EMIT self->commitData(combo);
            Q_EMIT self->closeEditor(combo);
        });
        return combo;
    }
    auto* field = new QLineEdit(parent);
    field->setFrame(false);
    return field;
}

void DatapointDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setCurrentIndex(combo->findData(index.data(Qt::EditRole)));
        return;
    }
    if (auto* field = qobject_cast<QLineEdit*>(editor)) {
        field->setText(index.data(Qt::DisplayRole).toString());
    }
}

void DatapointDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->currentIndex() >= 0 && combo->currentData() != index.data(Qt::EditRole)) {
            model->setData(index, combo->currentData(), Qt::EditRole);
        }
        return;
    }
    if (auto* field = qobject_cast<QLineEdit*>(editor)) {
        if (field->text() != index.data(Qt::DisplayRole).toString()) {
            model->setData(index, field->text(), Qt::EditRole);
        }
    }
}

bool DatapointDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) {
    if (writable(index) &&
        (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonPress)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && pencilRect(option.rect).contains(mouse->position().toPoint())) {
            if (event->type() == QEvent::MouseButtonRelease) {
                Q_EMIT writeRequested(index);
            }
            return true;
        }
    }
    const bool click = event->type() == QEvent::MouseButtonRelease ||
                       event->type() == QEvent::MouseButtonPress ||
                       event->type() == QEvent::MouseButtonDblClick;
    if (columnOf(index) == DatapointColumn::plot && click &&
        index.flags().testFlag(Qt::ItemIsUserCheckable)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->position().toPoint()))
            return false;
        if (event->type() == QEvent::MouseButtonRelease) {
            const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        }
        return true;
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

bool DatapointDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) {
    if (event->type() == QEvent::ToolTip && writable(index) && pencilRect(option.rect).contains(event->pos())) {
        QToolTip::showText(event->globalPos(), qtText(L10n::Write::help()), view->viewport(),
                           pencilRect(option.rect));
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

}  // namespace tessarin
