#include "TessarinViews/DatapointTableModel.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/PointPresentation.hpp"

#include <algorithm>
#include <utility>

namespace tessarin {

namespace {

constexpr int columnCountValue = static_cast<int>(datapointColumns.size());

DatapointColumn columnOf(const QModelIndex& index) {
    return static_cast<DatapointColumn>(index.column());
}

// Decimal digits only, blanks around allowed: what an integer cell takes.
std::optional<long> parseWhole(const QVariant& value, long max) {
    bool ok = false;
    const QString text = value.toString().trimmed();
    const long parsed = text.toLong(&ok, 10);
    if (!ok || parsed < 0 || parsed > max || text.startsWith(QLatin1Char('+'))) {
        return std::nullopt;
    }
    return parsed;
}

QString scaleText(double scale) {
    return QString::number(scale, 'g', 12);
}

template <typename Enum>
std::optional<Enum> caseOf(const QVariant& value, std::size_t count) {
    bool ok = false;
    const int raw = value.toInt(&ok);
    if (!ok || raw < 0 || static_cast<std::size_t>(raw) >= count) {
        return std::nullopt;
    }
    return static_cast<Enum>(raw);
}

}  // namespace

DatapointTableModel::DatapointTableModel(PollerModel& model, QObject* parent)
    : QAbstractTableModel(parent), m_model(model) {
    const Poll* poll = m_model.selectedPoll();
    if (poll != nullptr) {
        m_points = poll->datapoints;
        m_plotted = poll->plotted;
        m_pollID = poll->id;
    }
    m_polling = polling();
    rebuildRowIndex();
    m_liveTimer.setSingleShot(true);
    m_liveTimer.setInterval(liveRefreshMs);
    connect(&m_liveTimer, &QTimer::timeout, this, &DatapointTableModel::flushLiveRows);
    connect(&m_model, &PollerModel::pollsChanged, this, &DatapointTableModel::syncRows);
    connect(&m_model, &PollerModel::selectedPollIDChanged, this, &DatapointTableModel::syncRows);
    connect(&m_model, &PollerModel::pointStatusChanged, this, &DatapointTableModel::refreshLiveRows);
    connect(&m_model, &PollerModel::statusCleared, this,
            [this] { refreshAllLive(DatapointColumn::value, DatapointColumn::status); });
    connect(&m_model, &PollerModel::stateChanged, this, [this] {
        m_polling = polling();
        refreshAllLive(DatapointColumn::status, DatapointColumn::status);
    });
}

// Views ask about the root and stale indexes as a matter of course; those are no cells.
bool DatapointTableModel::holds(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && !index.parent().isValid() &&
           static_cast<std::size_t>(index.row()) < m_points.size() && index.column() < columnCountValue;
}

int DatapointTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_points.size());
}

int DatapointTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columnCountValue;
}

const Datapoint* DatapointTableModel::datapoint(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_points.size()) {
        return nullptr;
    }
    return &m_points[static_cast<std::size_t>(row)];
}

const PointStatus* DatapointTableModel::status(int row) const {
    const Datapoint* point = datapoint(row);
    return point == nullptr ? nullptr : m_model.status(point->id);
}

std::optional<int> DatapointTableModel::row(const Uuid& pointID) const {
    const auto found = m_rowOf.find(pointID);
    if (found == m_rowOf.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool DatapointTableModel::polling() const {
    const Poll* poll = m_model.selectedPoll();
    return m_model.state() != PollerState::stopped && poll != nullptr && poll->enabled;
}

std::vector<DatapointTableModel::Choice> DatapointTableModel::choices(DatapointColumn column,
                                                                      const Datapoint& point) {
    std::vector<Choice> out;
    switch (column) {
    case DatapointColumn::table:
        for (const RegisterTable table : allRegisterTables) {
            out.push_back({qtText(L10n::Table::tableName(table)), static_cast<int>(table)});
        }
        break;
    case DatapointColumn::dataType:
        for (const DataType type : allowedDataTypes(point.table)) {
            out.push_back({qtText(L10n::Table::dataTypeName(type)), static_cast<int>(type)});
        }
        break;
    case DatapointColumn::wordOrder:
        for (const WordOrder order : allWordOrders) {
            out.push_back({qtText(label(order)), static_cast<int>(order)});
        }
        break;
    case DatapointColumn::format:
        for (const DisplayFormat format : allDisplayFormats) {
            out.push_back({qtText(L10n::Table::formatName(format)), static_cast<int>(format)});
        }
        break;
    default:
        break;
    }
    return out;
}

QVariant DatapointTableModel::data(const QModelIndex& index, int role) const {
    if (!holds(index)) {
        return {};
    }
    const Datapoint& point = m_points[static_cast<std::size_t>(index.row())];
    const DatapointColumn column = columnOf(index);
    switch (role) {
    case Qt::DisplayRole:
        return display(point, index.row(), column);
    case Qt::EditRole:
        return edit(point, index.row(), column);
    case Qt::ToolTipRole:
        return toolTip(point, index.row(), column);
    case Qt::CheckStateRole:
        if (column == DatapointColumn::plot) {
            return m_plotted.contains(point.id) ? Qt::Checked : Qt::Unchecked;
        }
        return {};
    case toneRole:
        return foreground(point, index.row(), column);
    case appliesRole:
        return applies(point, column);
    case symbolRole:
        if (column == DatapointColumn::status) {
            return PointPresentation::status(status(index.row()), m_polling).symbol;
        }
        return {};
    default:
        return {};
    }
}

QVariant DatapointTableModel::display(const Datapoint& point, int row, DatapointColumn column) const {
    switch (column) {
    case DatapointColumn::name: return qtText(point.name);
    case DatapointColumn::unitID: return QString::number(point.unitID);
    case DatapointColumn::table: return qtText(L10n::Table::tableName(point.table));
    case DatapointColumn::address: return QString::number(point.address);
    case DatapointColumn::dataType: return qtText(L10n::Table::dataTypeName(point.dataType));
    case DatapointColumn::wordOrder: return qtText(label(point.wordOrder));
    case DatapointColumn::scale: return scaleText(point.scale);
    case DatapointColumn::value: return PointPresentation::liveValue(point, status(row)).text;
    case DatapointColumn::unit: return qtText(point.engineeringUnit);
    case DatapointColumn::status: return PointPresentation::status(status(row), m_polling).text;
    case DatapointColumn::plot: return {};
    case DatapointColumn::format: return qtText(L10n::Table::formatName(point.format));
    case DatapointColumn::description: return qtText(point.notes);
    }
    return {};
}

QVariant DatapointTableModel::edit(const Datapoint& point, int row, DatapointColumn column) const {
    switch (column) {
    case DatapointColumn::unitID: return static_cast<int>(point.unitID);
    case DatapointColumn::table: return static_cast<int>(point.table);
    case DatapointColumn::address: return static_cast<int>(point.address);
    case DatapointColumn::dataType: return static_cast<int>(point.dataType);
    case DatapointColumn::wordOrder: return static_cast<int>(point.wordOrder);
    case DatapointColumn::format: return static_cast<int>(point.format);
    case DatapointColumn::plot: return m_plotted.contains(point.id);
    default: return display(point, row, column);
    }
}

QVariant DatapointTableModel::toolTip(const Datapoint& point, int row, DatapointColumn column) const {
    switch (column) {
    case DatapointColumn::unitID: return qtText(L10n::Table::unitIDHelp());
    case DatapointColumn::address: return qtText(L10n::Table::addressHelp(point.modiconAddress()));
    case DatapointColumn::wordOrder: return qtText(L10n::Table::wordOrderHelp());
    case DatapointColumn::scale: return qtText(L10n::Table::scaleHelp());
    case DatapointColumn::plot: return qtText(L10n::Table::plotHelp());
    case DatapointColumn::value: {
        const QString raw = PointPresentation::rawTooltip(status(row));
        return raw.isEmpty() ? QVariant() : QVariant(raw);
    }
    case DatapointColumn::status: {
        const QString updated = PointPresentation::updatedTooltip(status(row));
        return updated.isEmpty() ? QVariant() : QVariant(updated);
    }
    default: return {};
    }
}

QVariant DatapointTableModel::foreground(const Datapoint& point, int row, DatapointColumn column) const {
    if (column == DatapointColumn::value) {
        return static_cast<int>(PointPresentation::liveValue(point, status(row)).tone);
    }
    if (column == DatapointColumn::status) {
        return static_cast<int>(PointPresentation::status(status(row), m_polling).tone);
    }
    return {};
}

QVariant DatapointTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCountValue) {
        return {};
    }
    const auto column = static_cast<DatapointColumn>(section);
    if (role == Qt::DisplayRole) {
        return qtText(facts(column).header(currentLanguage()));
    }
    if (role == Qt::ToolTipRole && column == DatapointColumn::plot) {
        return qtText(L10n::Table::plotHelp());
    }
    return {};
}

// Type and scale mean nothing for a bit; a one-register type has no word order.
bool DatapointTableModel::applies(const Datapoint& point, DatapointColumn column) const {
    switch (column) {
    case DatapointColumn::dataType:
    case DatapointColumn::scale: return !isBit(point.table);
    case DatapointColumn::wordOrder: return usesWordOrder(point.dataType);
    default: return true;
    }
}

Qt::ItemFlags DatapointTableModel::flags(const QModelIndex& index) const {
    if (!holds(index)) {
        return Qt::NoItemFlags;
    }
    const Datapoint& point = m_points[static_cast<std::size_t>(index.row())];
    const DatapointColumn column = columnOf(index);
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (!applies(point, column)) {
        return flags;
    }
    switch (column) {
    case DatapointColumn::value:
    case DatapointColumn::status: return flags;
    case DatapointColumn::plot: return flags | Qt::ItemIsUserCheckable;
    default: return flags | Qt::ItemIsEditable;
    }
}

bool DatapointTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const DatapointColumn column = columnOf(index);
    if (!holds(index) || !applies(m_points[static_cast<std::size_t>(index.row())], column)) {
        return false;
    }
    const bool checkEdit = column == DatapointColumn::plot && role == Qt::CheckStateRole;
    if (role != Qt::EditRole && !checkEdit) {
        return false;
    }
    // The id, not the row: the row may belong to another datapoint once the model changed.
    const Uuid pointID = m_points[static_cast<std::size_t>(index.row())].id;
    return apply(index, pointID, column, value);
}

bool DatapointTableModel::apply(const QModelIndex& index, const Uuid& pointID, DatapointColumn column,
                                const QVariant& value) {
    const auto reject = [&](const std::string& message) {
        Q_EMIT inputRejected(index, qtText(message));
        return false;
    };
    const auto editWith = [&](auto&& change) {
        m_model.editDatapoint(pointID, change);
        return true;
    };
    const std::string text = utf8Text(value.toString());
    switch (column) {
    case DatapointColumn::name:
        return editWith([&](Datapoint& p) { p.name = text; });
    case DatapointColumn::unit:
        return editWith([&](Datapoint& p) { p.engineeringUnit = text; });
    case DatapointColumn::description:
        return editWith([&](Datapoint& p) { p.notes = text; });
    case DatapointColumn::unitID: {
        const auto unit = parseWhole(value, 255);
        if (!unit) return reject(L10n::Errors::csvInvalidUnit(text));
        return editWith([&](Datapoint& p) { p.unitID = static_cast<std::uint8_t>(*unit); });
    }
    case DatapointColumn::address: {
        const auto address = parseWhole(value, 65535);
        if (!address) return reject(L10n::Errors::csvInvalidAddress(text));
        return editWith([&](Datapoint& p) { p.address = static_cast<std::uint16_t>(*address); });
    }
    case DatapointColumn::scale: {
        const auto scale = Datapoint::parseNumber(text);
        if (!scale) return reject(L10n::Errors::csvInvalidNumber(text));
        return editWith([&](Datapoint& p) { p.scale = *scale; });
    }
    case DatapointColumn::table: {
        const auto table = caseOf<RegisterTable>(value, allRegisterTables.size());
        if (!table) return false;
        return editWith([&](Datapoint& p) { p.setTable(*table); });
    }
    case DatapointColumn::dataType: {
        const auto type = caseOf<DataType>(value, allDataTypes.size());
        const Datapoint& point = m_points[static_cast<std::size_t>(index.row())];
        if (!type || std::ranges::find(allowedDataTypes(point.table), *type) == allowedDataTypes(point.table).end()) {
            return false;
        }
        return editWith([&](Datapoint& p) { p.dataType = *type; });
    }
    case DatapointColumn::wordOrder: {
        const auto order = caseOf<WordOrder>(value, allWordOrders.size());
        if (!order) return false;
        return editWith([&](Datapoint& p) { p.wordOrder = *order; });
    }
    case DatapointColumn::format: {
        const auto format = caseOf<DisplayFormat>(value, allDisplayFormats.size());
        if (!format) return false;
        return editWith([&](Datapoint& p) { p.format = *format; });
    }
    case DatapointColumn::plot: {
        const bool on = value.toInt() == Qt::Checked || (value.typeId() == QMetaType::Bool && value.toBool());
        m_model.setPlotted(on, pointID);
        return true;
    }
    case DatapointColumn::value:
    case DatapointColumn::status:
        return false;
    }
    return false;
}

void DatapointTableModel::rebuildRowIndex() {
    m_rowOf.clear();
    m_rowOf.reserve(m_points.size());
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        m_rowOf.emplace(m_points[i].id, static_cast<int>(i));
    }
}

void DatapointTableModel::syncRows() {
    // Pending rows are numbered as the rows stand now; redraw them before the rows move.
    if (!m_pendingRows.empty()) flushLiveRows();
    // A changed format, scale or type shows the same status differently.
    forgetLiveLooks();
    const Poll* poll = m_model.selectedPoll();
    std::vector<Datapoint> next = poll != nullptr ? poll->datapoints : std::vector<Datapoint>{};
    std::set<Uuid> nextPlotted = poll != nullptr ? poll->plotted : std::set<Uuid>{};
    const std::optional<Uuid> nextPollID = poll != nullptr ? std::optional(poll->id) : std::nullopt;
    const bool wasPolling = std::exchange(m_polling, polling());

    if (nextPollID != m_pollID) {
        beginResetModel();
        m_points = std::move(next);
        m_plotted = std::move(nextPlotted);
        m_pollID = nextPollID;
        rebuildRowIndex();
        endResetModel();
        return;
    }

    // Rows whose fields or chart tick changed, by id, to be redrawn after the rows settle.
    std::vector<Uuid> changed;
    for (const Datapoint& point : next) {
        const auto old = m_rowOf.find(point.id);
        if (old == m_rowOf.end()) continue;
        const Datapoint& before = m_points[static_cast<std::size_t>(old->second)];
        if (before != point || m_plotted.contains(point.id) != nextPlotted.contains(point.id)) {
            changed.push_back(point.id);
        }
    }

    if (next.size() >= m_points.size() && isSubsequence(m_points, next)) {
        insertRuns(next);
    } else if (isSubsequence(next, m_points)) {
        removeRuns(next);
    } else {
        beginResetModel();
        m_points = std::move(next);
        m_plotted = std::move(nextPlotted);
        rebuildRowIndex();
        endResetModel();
        return;
    }
    m_plotted = std::move(nextPlotted);

    std::vector<int> rows;
    for (const Uuid& pointID : changed) {
        if (const auto at = row(pointID)) rows.push_back(*at);
    }
    emitRowRanges(std::move(rows), 0, columnCountValue - 1);
    if (wasPolling != m_polling) {
        refreshAllLive(DatapointColumn::status, DatapointColumn::status);
    }
}

bool DatapointTableModel::isSubsequence(const std::vector<Datapoint>& part, const std::vector<Datapoint>& whole) {
    std::size_t at = 0;
    for (const Datapoint& point : whole) {
        if (at < part.size() && part[at].id == point.id) ++at;
    }
    return at == part.size();
}

// Each run of new rows goes in with its own insertion, so the rows around it keep their
// selection and editors.
void DatapointTableModel::insertRuns(const std::vector<Datapoint>& next) {
    std::size_t row = 0;
    while (row < next.size()) {
        if (row < m_points.size() && m_points[row].id == next[row].id) {
            ++row;
            continue;
        }
        std::size_t end = row;
        while (end < next.size() && (row >= m_points.size() || next[end].id != m_points[row].id)) ++end;
        beginInsertRows({}, static_cast<int>(row), static_cast<int>(end) - 1);
        m_points.insert(m_points.begin() + static_cast<std::ptrdiff_t>(row),
                        next.begin() + static_cast<std::ptrdiff_t>(row), next.begin() + static_cast<std::ptrdiff_t>(end));
        rebuildRowIndex();
        endInsertRows();
        row = end;
    }
    m_points = next;
}

void DatapointTableModel::removeRuns(const std::vector<Datapoint>& next) {
    std::size_t row = 0;
    std::size_t kept = 0;
    while (row < m_points.size()) {
        if (kept < next.size() && m_points[row].id == next[kept].id) {
            ++row;
            ++kept;
            continue;
        }
        std::size_t end = row;
        while (end < m_points.size() && (kept >= next.size() || m_points[end].id != next[kept].id)) ++end;
        beginRemoveRows({}, static_cast<int>(row), static_cast<int>(end) - 1);
        m_points.erase(m_points.begin() + static_cast<std::ptrdiff_t>(row),
                       m_points.begin() + static_cast<std::ptrdiff_t>(end));
        rebuildRowIndex();
        endRemoveRows();
    }
    m_points = next;
}

void DatapointTableModel::refreshLiveRows(const std::vector<Uuid>& pointIDs) {
    if (m_rowPending.size() != m_points.size()) {
        m_rowPending.assign(m_points.size(), 0);
    }
    for (const Uuid& pointID : pointIDs) {
        const auto at = row(pointID);
        if (!at || m_rowPending[static_cast<std::size_t>(*at)] != 0) continue;
        m_rowPending[static_cast<std::size_t>(*at)] = 1;
        m_pendingRows.push_back(*at);
    }
    if (!m_pendingRows.empty() && !m_liveTimer.isActive()) {
        m_liveTimer.start();
    }
}

void DatapointTableModel::flushLiveRows() {
    m_liveTimer.stop();
    std::vector<int> rows;
    rows.reserve(m_pendingRows.size());
    for (const int at : m_pendingRows) {
        m_rowPending[static_cast<std::size_t>(at)] = 0;
        const Datapoint& point = m_points[static_cast<std::size_t>(at)];
        const PointStatus* pointStatus = m_model.status(point.id);
        LiveLook look{PointPresentation::liveValue(point, pointStatus),
                      PointPresentation::status(pointStatus, m_polling)};
        const auto [shown, fresh] = m_liveLooks.try_emplace(point.id, look);
        if (!fresh) {
            if (shown->second == look) continue;
            shown->second = std::move(look);
        }
        rows.push_back(at);
    }
    m_pendingRows.clear();
    emitRowRanges(std::move(rows), columnIndex(DatapointColumn::value), columnIndex(DatapointColumn::status));
}

void DatapointTableModel::dropPendingRows() {
    m_liveTimer.stop();
    m_pendingRows.clear();
    m_rowPending.assign(m_points.size(), 0);
}

void DatapointTableModel::refreshAllLive(DatapointColumn first, DatapointColumn last) {
    forgetLiveLooks();
    dropPendingRows();
    if (m_points.empty()) {
        return;
    }
    Q_EMIT dataChanged(index(0, columnIndex(first)), index(rowCount() - 1, columnIndex(last)));
}

void DatapointTableModel::emitRowRanges(std::vector<int> rows, int firstColumn, int lastColumn) {
    std::ranges::sort(rows);
    const auto [end, last] = std::ranges::unique(rows);
    rows.erase(end, last);
    std::size_t start = 0;
    for (std::size_t i = 1; i <= rows.size(); ++i) {
        if (i == rows.size() || rows[i] != rows[i - 1] + 1) {
            Q_EMIT dataChanged(index(rows[start], firstColumn), index(rows[i - 1], lastColumn));
            start = i;
        }
    }
}

}  // namespace tessarin
