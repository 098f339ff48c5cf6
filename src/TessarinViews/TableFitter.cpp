#include "TessarinViews/TableFitter.hpp"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tessarin {

std::optional<std::vector<double>> TableFitter::targets(std::span<const Column> columns, double available) {
    if (columns.empty() || available <= 0) {
        return std::nullopt;
    }
    const double shown = std::accumulate(columns.begin(), columns.end(), 0.0,
                                         [](double sum, const Column& c) { return sum + c.current; });
    if (std::abs(shown - available) <= 1.0) {
        return std::nullopt;
    }
    std::vector<double> target;
    target.reserve(columns.size());
    for (const Column& column : columns) {
        target.push_back(column.base > 0 ? column.base : column.current);
    }
    std::vector<bool> clamped(columns.size(), false);
    for (std::size_t pass = 0; pass < columns.size(); ++pass) {
        double fixedSum = 0;
        double freeSum = 0;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            (clamped[i] ? fixedSum : freeSum) += target[i];
        }
        const double room = available - fixedSum;
        if (room <= 0 || freeSum <= 0) {
            break;
        }
        const double factor = room / freeSum;
        bool anyClamped = false;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (clamped[i]) continue;
            const double scaled = target[i] * factor;
            target[i] = std::clamp(scaled, columns[i].min, std::max(columns[i].min, columns[i].max));
            if (target[i] != scaled) {
                clamped[i] = true;
                anyClamped = true;
            }
        }
        if (!anyClamped) {
            break;
        }
    }
    return target;
}

TableFitter::TableFitter(QTableView& table, Limits limits, QObject* parent)
    : QObject(parent), m_table(&table), m_limits(std::move(limits)) {
    QHeaderView* header = table.horizontalHeader();
    header->setStretchLastSection(false);
    table.viewport()->installEventFilter(this);
    connect(header, &QHeaderView::sectionResized, this, [this] {
        if (!m_fitting) recordBaseWidths();
    });
    connect(header, &QHeaderView::sectionCountChanged, this, [this] {
        recordBaseWidths();
        fit();
    });
    recordBaseWidths();
    fit();
}

void TableFitter::recordBaseWidths() {
    if (m_table == nullptr) return;
    QHeaderView* header = m_table->horizontalHeader();
    m_baseWidths.assign(static_cast<std::size_t>(header->count()), 0.0);
    for (int i = 0; i < header->count(); ++i) {
        m_baseWidths[static_cast<std::size_t>(i)] = header->sectionSize(i);
    }
}

void TableFitter::fit() {
    if (m_table == nullptr) return;
    QHeaderView* header = m_table->horizontalHeader();
    std::vector<int> visible;
    std::vector<Column> columns;
    for (int i = 0; i < header->count(); ++i) {
        if (header->isSectionHidden(i)) continue;
        const auto [min, max] = m_limits(i);
        const auto at = static_cast<std::size_t>(i);
        const double base = at < m_baseWidths.size() ? m_baseWidths[at] : 0.0;
        visible.push_back(i);
        columns.push_back({base, static_cast<double>(header->sectionSize(i)), min, max});
    }
    const auto widths = targets(columns, m_table->viewport()->width());
    if (!widths) return;
    m_fitting = true;
    for (std::size_t k = 0; k < visible.size(); ++k) {
        const int width = static_cast<int>(std::lround((*widths)[k]));
        if (std::abs((*widths)[k] - header->sectionSize(visible[k])) > 0.5) {
            header->resizeSection(visible[k], width);
        }
    }
    m_fitting = false;
}

bool TableFitter::eventFilter(QObject* watched, QEvent* event) {
    if (m_table != nullptr && watched == m_table->viewport() && event->type() == QEvent::Resize) {
        fit();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tessarin
