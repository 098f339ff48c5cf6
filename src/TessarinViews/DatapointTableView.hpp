#pragma once

// Qt first: moc cannot parse the <concepts> that Uuid.hpp pulls in unless Qt came before.
#include <QTableView>

#include "ModbusCore/Uuid.hpp"


#include <optional>
#include <set>

namespace tessarin {

class DatapointDelegate;
class DatapointTableModel;
class TableFitter;

// The table of the selected poll's datapoints: rows selected as a whole, cells edited in
// place, columns kept filling the width, a row menu to duplicate and delete.
class DatapointTableView final : public QTableView {
    Q_OBJECT

public:
    explicit DatapointTableView(DatapointTableModel& model, QWidget* parent = nullptr);
    ~DatapointTableView() override;

    [[nodiscard]] DatapointTableModel& tableModel() const { return m_model; }
    [[nodiscard]] DatapointDelegate& delegate() const { return *m_delegate; }
    [[nodiscard]] TableFitter& fitter() const { return *m_fitter; }

    // The selected rows' datapoints; the first is the topmost selected row.
    [[nodiscard]] std::set<Uuid> selectedIDs() const;
    [[nodiscard]] std::optional<Uuid> firstSelectedID() const;
    void selectIDs(const std::set<Uuid>& ids);

    // Commits the text of an open cell editor, so that a command or a dialog that follows
    // sees it; the editor then closes.
    void finishEditing();

    // Keeps room below the last row for notices floating over the table's foot, so they never
    // hide a row the user wants to edit.
    void setBottomInset(int inset);
    [[nodiscard]] int bottomInset() const { return viewportMargins().bottom(); }

Q_SIGNALS:
    void duplicateRequested();
    void deleteRequested();

protected:
    // The table lays out its headers through the viewport margins; the inset goes on top.
    void updateGeometries() override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void showRejection(const QModelIndex& index, const QString& message);

    DatapointTableModel& m_model;
    DatapointDelegate* m_delegate;
    TableFitter* m_fitter;
    int m_bottomInset = 0;
};

}  // namespace tessarin
