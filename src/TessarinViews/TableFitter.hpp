#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>
#include <span>
#include <vector>

class QTableView;

namespace tessarin {

// Keeps the columns of a table filling its width. Widening scales every column by one factor
// from its base width until a column reaches its minimum or maximum, after which the others
// share what is left; widths the user drags become the new base widths.
class TableFitter final : public QObject {
    Q_OBJECT

public:
    struct Column {
        double base;     // the width the column would have at the table's natural width
        double current;  // as shown now
        double min;
        double max;
    };

    // The widths the columns should get to fill available, or none when they should stay
    // as they are (nothing to fit, no room, or already within a point of filling it).
    [[nodiscard]] static std::optional<std::vector<double>> targets(std::span<const Column> columns,
                                                                    double available);

    // Limits of each column by its logical index.
    using Limits = std::function<std::pair<double, double>(int column)>;

    // Fits the table now and whenever its viewport changes size; the current widths are the
    // first base widths.
    TableFitter(QTableView& table, Limits limits, QObject* parent = nullptr);

    void fit();
    [[nodiscard]] const std::vector<double>& baseWidths() const { return m_baseWidths; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void recordBaseWidths();

    QPointer<QTableView> m_table;
    Limits m_limits;
    std::vector<double> m_baseWidths;  // by logical column
    bool m_fitting = false;            // resizes made here are not the user's
};

}  // namespace tessarin
