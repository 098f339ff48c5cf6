#pragma once

#include "Localization/Language.hpp"

#include <QString>

#include <array>
#include <limits>
#include <string>

class QFontMetrics;

namespace tessarin {

// The columns of the datapoint table, in the order shown.
enum class DatapointColumn {
    name,
    unitID,
    table,
    address,
    dataType,
    wordOrder,
    scale,
    value,
    unit,
    status,
    plot,
    format,
    description,
};

struct DatapointColumnFacts {
    DatapointColumn column;
    std::string (*header)(Language);
    double minWidth;
    double idealWidth;  // the base width of fitting before the user resizes
    double maxWidth;
    bool picker;        // edited by choosing from a list
};

inline constexpr double unboundedWidth = std::numeric_limits<double>::infinity();

extern const std::array<DatapointColumnFacts, 13> datapointColumns;

[[nodiscard]] const DatapointColumnFacts& facts(DatapointColumn column);
[[nodiscard]] inline int columnIndex(DatapointColumn column) {
    return static_cast<int>(column);
}

// Room a header section needs besides its text: the style's margins on both sides.
inline constexpr int headerPadding = 16;

struct ColumnWidths {
    double min;
    double ideal;
    double max;
};

// The column's widths, its ideal widened where its header needs more in any of the languages
// (a fixed column is fixed at that width), so that no header is cut off however long its
// translation is.
[[nodiscard]] ColumnWidths columnWidths(DatapointColumn column, const QFontMetrics& metrics);

// The header's width in the language, padding included.
[[nodiscard]] int headerWidth(DatapointColumn column, Language language, const QFontMetrics& metrics);

}  // namespace tessarin
