#pragma once

#include <QWidget>

class QToolButton;

namespace tessarin {

// The bar above the datapoint table: the project and CSV menus, and adding, duplicating and
// deleting datapoints. It only announces the commands; the poll area carries them out.
class DatapointToolbar final : public QWidget {
    Q_OBJECT

public:
    explicit DatapointToolbar(QWidget* parent = nullptr);

    [[nodiscard]] QToolButton* projectButton() const { return m_project; }
    [[nodiscard]] QToolButton* addButton() const { return m_add; }
    [[nodiscard]] QToolButton* duplicateButton() const { return m_duplicate; }
    [[nodiscard]] QToolButton* deleteButton() const { return m_delete; }
    [[nodiscard]] QToolButton* csvButton() const { return m_csv; }

    // Duplicate and Delete act on selected rows only.
    void setHasSelection(bool hasSelection);

Q_SIGNALS:
    void newProjectRequested();
    void openProjectRequested();
    void saveProjectRequested();
    void addRequested();
    void duplicateRequested();
    void deleteRequested();
    void importRequested();
    void exportRequested();

private:
    QToolButton* m_project;
    QToolButton* m_add;
    QToolButton* m_duplicate;
    QToolButton* m_delete;
    QToolButton* m_csv;
};

}  // namespace tessarin
