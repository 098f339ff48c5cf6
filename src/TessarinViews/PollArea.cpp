#include "TessarinViews/PollArea.hpp"

#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/DatapointDelegate.hpp"
#include "TessarinViews/DatapointTableModel.hpp"
#include "TessarinViews/DatapointTableView.hpp"
#include "TessarinViews/DatapointToolbar.hpp"
#include "TessarinViews/EmptyTableView.hpp"
#include "TessarinViews/NoticeBanners.hpp"
#include "TessarinViews/PollTabBar.hpp"
#include "TessarinViews/WriteEditor.hpp"

#include <QAction>
#include <QFrame>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tessarin {

PollArea::PollArea(PollerModel& model, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_tableModel(new DatapointTableModel(model, this)),
      m_tabBar(new PollTabBar(model, this)),
      m_toolbar(new DatapointToolbar(this)),
      m_tableArea(new QWidget(this)),
      m_stack(new QStackedWidget(m_tableArea)),
      m_table(new DatapointTableView(*m_tableModel, m_stack)),
      m_empty(new EmptyTableView(m_stack)),
      m_banners(nullptr) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_tabBar);
    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    column->addWidget(divider);
    column->addWidget(m_toolbar);
    column->addWidget(m_tableArea, 1);
    auto* area = new QVBoxLayout(m_tableArea);
    area->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_table);
    m_stack->addWidget(m_empty);
    area->addWidget(m_stack);
    m_banners = new NoticeBanners(model, m_tableArea);
    connect(m_banners, &NoticeBanners::coveredHeightChanged, m_table, &DatapointTableView::setBottomInset);

    connect(m_toolbar, &DatapointToolbar::newProjectRequested, this, [this] { runCommand(&PollerModel::newProject); });
    connect(m_toolbar, &DatapointToolbar::openProjectRequested, this,
            [this] { runCommand(&PollerModel::openProject); });
    connect(m_toolbar, &DatapointToolbar::saveProjectRequested, this, [this] {
        m_table->finishEditing();
        m_model.saveProjectAs();
    });
    connect(m_toolbar, &DatapointToolbar::importRequested, this,
            [this] { runCommand(&PollerModel::importDatapointsCSV); });
    connect(m_toolbar, &DatapointToolbar::exportRequested, this,
            [this] { runCommand(&PollerModel::exportDatapointsCSV); });
    connect(m_toolbar, &DatapointToolbar::addRequested, this, &PollArea::addDatapoint);
    connect(m_toolbar, &DatapointToolbar::duplicateRequested, this, &PollArea::duplicateSelection);
    connect(m_toolbar, &DatapointToolbar::deleteRequested, this, &PollArea::deleteSelection);
    connect(m_table, &DatapointTableView::duplicateRequested, this, &PollArea::duplicateSelection);
    connect(m_table, &DatapointTableView::deleteRequested, this, &PollArea::deleteSelection);
    connect(m_empty, &EmptyTableView::addRequested, this, &PollArea::addDatapoint);
    connect(m_empty, &EmptyTableView::importRequested, this,
            [this] { runCommand(&PollerModel::importDatapointsCSV); });
    connect(m_tabBar, &PollTabBar::aboutToEdit, m_table, &DatapointTableView::finishEditing);
    connect(&m_table->delegate(), &DatapointDelegate::writeRequested, this,
            [this](const QModelIndex& index) { openWriteEditor(index.row()); });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { m_toolbar->setHasSelection(!m_table->selectedIDs().empty()); });

    auto* deleteRows = new QAction(this);
    deleteRows->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Backspace));
    deleteRows->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(deleteRows, &QAction::triggered, this, &PollArea::deleteSelection);
    addAction(deleteRows);

    connect(m_tableModel, &QAbstractItemModel::modelReset, this, &PollArea::showTableOrEmpty);
    connect(m_tableModel, &QAbstractItemModel::rowsInserted, this, &PollArea::showTableOrEmpty);
    connect(m_tableModel, &QAbstractItemModel::rowsRemoved, this, &PollArea::showTableOrEmpty);
    showTableOrEmpty();
}

PollArea::~PollArea() {
    // The editor is a top-level popup; it must not outlive the model it writes to.
    delete m_writeEditor.data();
}

WriteEditor* PollArea::writeEditor() const {
    return m_writeEditor;
}

bool PollArea::showsEmptyView() const {
    return m_stack->currentWidget() == m_empty;
}

void PollArea::showTableOrEmpty() {
    const bool empty = m_model.selectedPoll() != nullptr && m_tableModel->rowCount() == 0;
    m_stack->setCurrentWidget(empty ? static_cast<QWidget*>(m_empty) : m_table);
    m_toolbar->setHasSelection(!m_table->selectedIDs().empty());
}

void PollArea::runCommand(void (PollerModel::*command)()) {
    m_table->finishEditing();
    (m_model.*command)();
}

void PollArea::addDatapoint() {
    m_table->finishEditing();
    if (const auto pointID = m_model.addDatapoint(m_table->firstSelectedID())) {
        m_table->selectIDs({*pointID});
    }
}

void PollArea::duplicateSelection() {
    m_table->finishEditing();
    const auto ids = m_table->selectedIDs();
    if (!ids.empty()) m_model.duplicateDatapoints(ids);
}

void PollArea::deleteSelection() {
    m_table->finishEditing();
    const auto ids = m_table->selectedIDs();
    if (!ids.empty()) m_model.deleteDatapoints(ids);
}

void PollArea::openWriteEditor(int row) {
    const Datapoint* point = m_tableModel->datapoint(row);
    if (point == nullptr || !isWritable(point->table)) return;
    m_table->finishEditing();
    delete m_writeEditor.data();
    const PointStatus* status = m_tableModel->status(row);
    const Uuid pointID = point->id;
    // The datapoint as stored when the value is sent: it may have been edited meanwhile.
    auto write = [this, pointID](double value) {
        const Poll* poll = m_model.selectedPoll();
        if (poll == nullptr) return;
        const auto found = std::ranges::find(poll->datapoints, pointID, &Datapoint::id);
        if (found != poll->datapoints.end()) m_model.write(*found, value);
    };
    m_writeEditor = new WriteEditor(*point, status != nullptr ? status->value : std::nullopt, write, this);
    const QRect cell = m_table->visualRect(m_tableModel->index(row, columnIndex(DatapointColumn::value)));
    m_writeEditor->popUp(QRect(m_table->viewport()->mapToGlobal(cell.topLeft()), cell.size()));
}

}  // namespace tessarin
