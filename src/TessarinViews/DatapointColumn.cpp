#include "TessarinViews/DatapointColumn.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>
#include <optional>
#include <cassert>

namespace tessarin {

const std::array<DatapointColumnFacts, 13> datapointColumns{{
    {DatapointColumn::name, &L10n::Table::name, 60, 150, unboundedWidth, false},
    {DatapointColumn::unitID, &L10n::Table::unitID, 30, 40, unboundedWidth, false},
    {DatapointColumn::table, &L10n::Table::table, 70, 140, unboundedWidth, true},
    {DatapointColumn::address, &L10n::Table::address, 40, 60, unboundedWidth, false},
    {DatapointColumn::dataType, &L10n::Table::dataType, 56, 100, unboundedWidth, true},
    {DatapointColumn::wordOrder, &L10n::Table::wordOrder, 44, 72, unboundedWidth, true},
    {DatapointColumn::scale, &L10n::Table::scale, 36, 56, unboundedWidth, false},
    {DatapointColumn::value, &L10n::Table::value, 60, 140, unboundedWidth, false},
    {DatapointColumn::unit, &L10n::Table::unit, 30, 50, unboundedWidth, false},
    {DatapointColumn::status, &L10n::Table::status, 56, 110, unboundedWidth, false},
    {DatapointColumn::plot, &L10n::Table::plot, 34, 34, 34, false},
    {DatapointColumn::format, &L10n::Table::format, 50, 80, unboundedWidth, true},
    {DatapointColumn::description, &L10n::Table::description, 40, 140, unboundedWidth, false},
}};

const DatapointColumnFacts& facts(DatapointColumn column) {
    const auto& entry = datapointColumns[static_cast<std::size_t>(column)];
    assert(entry.column == column);
    return entry;
}

int headerWidth(DatapointColumn column, Language language, const QFontMetrics& metrics) {
    return metrics.horizontalAdvance(qtText(facts(column).header(language))) + headerPadding;
}

namespace {

// Room around a cell's text: margins, and the symbol of a status or the chevron of a picker.
constexpr int cellChrome = 5 + 14 + 5 + 5;

// The longest text the column shows in the current language, so that a choice or a failure is
// never cut to "Holding-Reg…" or "No re…" while wider columns have room to give.
std::optional<double> widestContent(DatapointColumn column, const QFontMetrics& metrics) {
    QStringList texts;
    switch (column) {
    case DatapointColumn::table:
        for (const RegisterTable table : allRegisterTables) texts.append(qtText(L10n::Table::tableName(table)));
        break;
    case DatapointColumn::dataType:
        for (const DataType type : allDataTypes) texts.append(qtText(L10n::Table::dataTypeName(type)));
        break;
    case DatapointColumn::format:
        for (const DisplayFormat format : allDisplayFormats) texts.append(qtText(L10n::Table::formatName(format)));
        break;
    case DatapointColumn::status:
        texts = {qtText(L10n::Table::waiting()), qtText(L10n::Table::ok(9999))};
        for (const PollFailure failure : {PollFailure::exception(0xFF), PollFailure::timeout(),
                                          PollFailure::crcMismatch(), PollFailure::malformed(),
                                          PollFailure::noConnection()}) {
            texts.append(qtText(L10n::Log::shortFailure(failure)));
        }
        break;
    default:
        return std::nullopt;
    }
    int widest = 0;
    for (const QString& text : texts) widest = std::max(widest, metrics.horizontalAdvance(text));
    return widest + cellChrome;
}

}  // namespace

ColumnWidths columnWidths(DatapointColumn column, const QFontMetrics& metrics) {
    const DatapointColumnFacts& entry = facts(column);
    double ideal = entry.idealWidth;
    for (const Language language : allLanguages) {
        ideal = std::max(ideal, static_cast<double>(headerWidth(column, language, metrics)));
    }
    if (entry.maxWidth == entry.minWidth) {
        return {ideal, ideal, ideal};
    }
    if (const auto content = widestContent(column, metrics)) {
        return {std::max(entry.minWidth, *content), std::max(ideal, *content), entry.maxWidth};
    }
    return {entry.minWidth, ideal, entry.maxWidth};
}

}  // namespace tessarin
