#pragma once

#include <QWidget>

class QPushButton;

namespace tessarin {

// Stands in for the table while the selected poll has no datapoints: what to do next, with
// the two ways to get datapoints.
class EmptyTableView final : public QWidget {
    Q_OBJECT

public:
    explicit EmptyTableView(QWidget* parent = nullptr);

    [[nodiscard]] QPushButton* addButton() const { return m_add; }
    [[nodiscard]] QPushButton* importButton() const { return m_import; }

Q_SIGNALS:
    void addRequested();
    void importRequested();

private:
    QPushButton* m_add;
    QPushButton* m_import;
};

}  // namespace tessarin
