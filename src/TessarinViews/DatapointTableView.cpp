#include "TessarinViews/DatapointTableView.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/DatapointColumn.hpp"
#include "TessarinViews/DatapointDelegate.hpp"
#include "TessarinViews/DatapointTableModel.hpp"
#include "TessarinViews/TableFitter.hpp"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QToolTip>

#include <algorithm>

namespace tessarin {

DatapointTableView::DatapointTableView(DatapointTableModel& model, QWidget* parent)
    : QTableView(parent), m_model(model), m_delegate(new DatapointDelegate(model, this)) {
    setModel(&m_model);
    setItemDelegate(m_delegate);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setAlternatingRowColors(true);
    // The room kept free under the rows for the banners belongs to the table, not the window.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setShowGrid(false);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 12);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* header = horizontalHeader();
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    header->setMinimumSectionSize(20);
    const QFontMetrics metrics(header->font());
    for (const auto& entry : datapointColumns) {
        const ColumnWidths widths = columnWidths(entry.column, metrics);
        header->resizeSection(columnIndex(entry.column), static_cast<int>(widths.ideal));
        if (widths.min == widths.max) {
            header->setSectionResizeMode(columnIndex(entry.column), QHeaderView::Fixed);
        }
    }
    m_fitter = new TableFitter(
        *this,
        [metrics](int column) {
            const ColumnWidths widths = columnWidths(static_cast<DatapointColumn>(column), metrics);
            return std::pair{widths.min, widths.max};
        },
        this);

    connect(&m_model, &DatapointTableModel::inputRejected, this, &DatapointTableView::showRejection);
}

DatapointTableView::~DatapointTableView() {
    // The fitter answers resizes of the viewport and header, which the base destructors still
    // send while tearing them down; by then this is no table any more.
    delete m_fitter;
}

std::set<Uuid> DatapointTableView::selectedIDs() const {
    std::set<Uuid> ids;
    if (selectionModel() == nullptr) return ids;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        if (const Datapoint* point = m_model.datapoint(index.row())) ids.insert(point->id);
    }
    return ids;
}

std::optional<Uuid> DatapointTableView::firstSelectedID() const {
    if (selectionModel() == nullptr) return std::nullopt;
    const QModelIndexList rows = selectionModel()->selectedRows();
    const auto top = std::ranges::min_element(rows, {}, &QModelIndex::row);
    if (top == rows.end()) return std::nullopt;
    const Datapoint* point = m_model.datapoint(top->row());
    return point != nullptr ? std::optional(point->id) : std::nullopt;
}

void DatapointTableView::selectIDs(const std::set<Uuid>& ids) {
    QItemSelection selection;
    std::optional<int> first;
    for (const Uuid& pointID : ids) {
        if (const auto row = m_model.row(pointID)) {
            selection.select(m_model.index(*row, 0), m_model.index(*row, m_model.columnCount() - 1));
            first = std::min(first.value_or(*row), *row);
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (first) {
        selectionModel()->setCurrentIndex(m_model.index(*first, 0), QItemSelectionModel::NoUpdate);
        scrollTo(m_model.index(*first, 0));
    }
}

void DatapointTableView::finishEditing() {
    if (state() != QAbstractItemView::EditingState) return;
    QWidget* editor = indexWidget(currentIndex());
    if (editor == nullptr) return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void DatapointTableView::setBottomInset(int inset) {
    m_bottomInset = inset;
    updateGeometries();
}

void DatapointTableView::updateGeometries() {
    QTableView::updateGeometries();
    QMargins margins = viewportMargins();
    if (margins.bottom() != m_bottomInset) {
        margins.setBottom(m_bottomInset);
        setViewportMargins(margins);
    }
}

void DatapointTableView::contextMenuEvent(QContextMenuEvent* event) {
    const QModelIndex clicked = indexAt(viewport()->mapFromGlobal(event->globalPos()));
    if (!clicked.isValid()) return;
    if (!selectionModel()->isRowSelected(clicked.row(), {})) {
        selectRow(clicked.row());
    }
    QMenu menu(this);
    connect(menu.addAction(qtText(L10n::Table::duplicate())), &QAction::triggered, this,
            &DatapointTableView::duplicateRequested);
    connect(menu.addAction(qtText(L10n::Table::delete_())), &QAction::triggered, this,
            &DatapointTableView::deleteRequested);
    menu.exec(event->globalPos());
}

void DatapointTableView::showRejection(const QModelIndex& index, const QString& message) {
    const QRect cell = visualRect(index);
    QToolTip::showText(viewport()->mapToGlobal(cell.bottomLeft()), message, viewport(), cell, 4000);
}

}  // namespace tessarin
