#pragma once

#include "ModbusCore/Datapoint.hpp"
#include "ModbusCore/Uuid.hpp"
#include "TessarinViews/DatapointColumn.hpp"
#include "TessarinViews/PointPresentation.hpp"

#include <QAbstractTableModel>
#include <QTimer>

#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

namespace tessarin {

class PollerModel;
struct PointStatus;

// The datapoints of the selected poll with their live status, one row each in list order.
// Edits go to the model as one operation per cell; reads refresh only the live columns of
// the rows whose shown value or status they changed, one dataChanged per run of neighbouring
// rows, so a device that keeps answering the same values repaints nothing. Reads are gathered
// for up to liveRefreshMs and redrawn together: a fast device answers far more often than a
// screen can show, and each redraw formats every value again. Structural edits
// (rows added or removed in one place) keep the other rows and their selection.
class DatapointTableModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    // The Tone (as int) of the value and status cells.
    static constexpr int toneRole = Qt::UserRole + 1;
    // The symbol name (Icons) of the status cell.
    static constexpr int symbolRole = Qt::UserRole + 2;
    // How long reads are gathered before their rows are compared and redrawn.
    static constexpr int liveRefreshMs = 40;
    // False for a cell whose field means nothing for the datapoint (a coil's type); such a
    // cell is shown greyed and cannot be edited.
    static constexpr int appliesRole = Qt::UserRole + 3;

    // One entry of a picker: its label and the enumeration case as int.
    struct Choice {
        QString label;
        int value;
    };
    // What the picker of the column offers for the datapoint; empty for other columns.
    [[nodiscard]] static std::vector<Choice> choices(DatapointColumn column, const Datapoint& point);

    explicit DatapointTableModel(PollerModel& model, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A text that does not make a valid field is refused with inputRejected; the datapoint
    // stays as it was.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    [[nodiscard]] const Datapoint* datapoint(int row) const;
    [[nodiscard]] const PointStatus* status(int row) const;
    [[nodiscard]] std::optional<int> row(const Uuid& pointID) const;
    // Reading is on and the selected poll is read, so rows without status await one.
    [[nodiscard]] bool polling() const;
    [[nodiscard]] PollerModel& pollerModel() const { return m_model; }

Q_SIGNALS:
    // A typed text was not taken; message says why, in the user's language.
    void inputRejected(const QModelIndex& index, const QString& message);

private:
    [[nodiscard]] bool holds(const QModelIndex& index) const;
    void syncRows();
    // part keeps the order of whole, with some of its rows left out.
    [[nodiscard]] static bool isSubsequence(const std::vector<Datapoint>& part, const std::vector<Datapoint>& whole);
    void insertRuns(const std::vector<Datapoint>& next);
    void removeRuns(const std::vector<Datapoint>& next);
    void refreshLiveRows(const std::vector<Uuid>& pointIDs);
    // Redraws the gathered rows whose live cells now read differently.
    void flushLiveRows();
    void dropPendingRows();
    void refreshAllLive(DatapointColumn first, DatapointColumn last);
    void emitRowRanges(std::vector<int> rows, int firstColumn, int lastColumn);
    void rebuildRowIndex();
    // Forgets what reads last showed, after a change that repainted rows by another way.
    void forgetLiveLooks() { m_liveLooks.clear(); }

    [[nodiscard]] QVariant display(const Datapoint& point, int row, DatapointColumn column) const;
    [[nodiscard]] QVariant edit(const Datapoint& point, int row, DatapointColumn column) const;
    [[nodiscard]] QVariant toolTip(const Datapoint& point, int row, DatapointColumn column) const;
    [[nodiscard]] QVariant foreground(const Datapoint& point, int row, DatapointColumn column) const;
    [[nodiscard]] bool applies(const Datapoint& point, DatapointColumn column) const;
    bool apply(const QModelIndex& index, const Uuid& pointID, DatapointColumn column, const QVariant& value);

    PollerModel& m_model;
    // The selected poll as last shown; rows are compared against it on every change.
    std::vector<Datapoint> m_points;
    std::set<Uuid> m_plotted;
    std::optional<Uuid> m_pollID;
    std::unordered_map<Uuid, int> m_rowOf;
    bool m_polling = false;
    // What the live cells of a row showed after the last read that touched it.
    struct LiveLook {
        PointPresentation::ValueLook value;
        PointPresentation::StatusLook status;
        bool operator==(const LiveLook&) const = default;
    };
    std::unordered_map<Uuid, LiveLook> m_liveLooks;
    // Rows read since the last flush, each once; m_rowPending marks them by row.
    std::vector<int> m_pendingRows;
    std::vector<char> m_rowPending;
    QTimer m_liveTimer;
};

}  // namespace tessarin
