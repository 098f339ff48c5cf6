#pragma once

#include <QPointer>
#include <QWidget>

class QStackedWidget;

namespace tessarin {

class DatapointTableModel;
class DatapointTableView;
class DatapointToolbar;
class EmptyTableView;
class NoticeBanners;
class PollTabBar;
class PollerModel;
class WriteEditor;

// The window's central area: the poll tabs with the selected poll's settings, the toolbar,
// the datapoint table (or what to do while it is empty), the write editor and the notices
// that float over the table. Every command is one operation of the model; an open cell
// editor is committed before any of them runs, so no typed text is lost to a dialog.
class PollArea final : public QWidget {
    Q_OBJECT

public:
    explicit PollArea(PollerModel& model, QWidget* parent = nullptr);
    ~PollArea() override;

    [[nodiscard]] PollTabBar& tabBar() const { return *m_tabBar; }
    [[nodiscard]] DatapointToolbar& toolbar() const { return *m_toolbar; }
    [[nodiscard]] DatapointTableView& table() const { return *m_table; }
    [[nodiscard]] DatapointTableModel& tableModel() const { return *m_tableModel; }
    [[nodiscard]] EmptyTableView& emptyView() const { return *m_empty; }
    [[nodiscard]] NoticeBanners& banners() const { return *m_banners; }
    [[nodiscard]] bool showsEmptyView() const;
    // The write editor while it is open.
    [[nodiscard]] WriteEditor* writeEditor() const;

    // Opens the write editor for the datapoint in the table's row.
    void openWriteEditor(int row);

    void addDatapoint();
    void duplicateSelection();
    void deleteSelection();

private:
    void runCommand(void (PollerModel::*command)());
    void showTableOrEmpty();

    PollerModel& m_model;
    DatapointTableModel* m_tableModel;
    PollTabBar* m_tabBar;
    DatapointToolbar* m_toolbar;
    QWidget* m_tableArea;
    QStackedWidget* m_stack;
    DatapointTableView* m_table;
    EmptyTableView* m_empty;
    NoticeBanners* m_banners;
    QPointer<WriteEditor> m_writeEditor;
};

}  // namespace tessarin
