#include "ModbusCore/DatapointCSV.hpp"

#include "ModbusCore/AsciiText.hpp"
#include "ModbusCore/DataType.hpp"
#include "ModbusCore/Datapoint.hpp"
#include "ModbusCore/DisplayFormat.hpp"
#include "ModbusCore/NameKey.hpp"
#include "ModbusCore/NumberLocale.hpp"
#include "ModbusCore/RegisterTable.hpp"
#include "ModbusCore/WordOrder.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <expected>
#include <limits>
#include <optional>
#include <utility>

namespace tessarin::DatapointCSV {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view lineEnd = "\r\n";
constexpr std::string_view replacementCharacter = "\xEF\xBF\xBD";
constexpr std::string_view formulaStarts = "=+-@";

// ---- Export ---------------------------------------------------------------------------------

// Whole numbers print as integers; everything else as the shortest text that reads back as the
// same double, in the C locale's style (0.1, 1e-05, 1e+15).
std::string numberText(double number, bool decimalComma) {
    constexpr double wholeLimit = 1e15;
    std::string text;
    if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < wholeLimit) {
        text = fmt::format("{}", static_cast<long long>(number));
    } else {
        std::array<char, 64> buffer{};
        const auto result =
            std::to_chars(buffer.data(), buffer.data() + buffer.size(), number, std::chars_format::general);
        text.assign(buffer.data(), result.ptr);
    }
    if (decimalComma) std::ranges::replace(text, '.', ',');
    return text;
}

void appendLine(std::string& out, std::span<const std::string> cells, char separator) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) out += separator;
        out += quotedCell(cells[i], separator);
    }
    out += lineEnd;
}

// ---- Text clean-up --------------------------------------------------------------------------

// Length of the well-formed UTF-8 sequence at the start of bytes, or 0 when it is not one
// (overlong forms, surrogates and values past U+10FFFF included).
std::size_t validSequenceLength(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() < length) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    }
    return length;
}

// Spreadsheet programs sometimes save in a legacy code page; such bytes become U+FFFD so that
// every name and note taken from the file is valid UTF-8 (the project's JSON requires it).
std::string validUTF8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = validSequenceLength(text);
        if (length == 0) {
            out += replacementCharacter;
            text.remove_prefix(1);
        } else {
            out += text.substr(0, length);
            text.remove_prefix(length);
        }
    }
    return out;
}

// Header titles are matched by name key: "UNITÉ" is "unité" is "unite", "Data-Type" is "data type".
std::string headerKey(std::string_view cell) {
    return nameKey(cell);
}

// ---- Records --------------------------------------------------------------------------------

struct Record {
    std::vector<std::string> cells;
    std::vector<bool> quoted;  // per cell: it began with a quote, so its spaces are the text's own
    int line = 0;
};

char detectSeparator(std::string_view text) {
    const std::string_view firstLine = text.substr(0, text.find_first_of("\r\n"));
    constexpr std::array candidates{';', '\t', ','};
    char best = candidates[0];
    std::ptrdiff_t bestCount = 0;
    for (const char candidate : candidates) {
        const auto count = std::ranges::count(firstLine, candidate);
        if (count > bestCount) {
            best = candidate;
            bestCount = count;
        }
    }
    return best;
}

// Splits text into records of cells. Quotes open only at the very start of a cell; after the
// closing quote the rest of the cell is plain text. A CR LF pair is one line end everywhere.
std::vector<Record> splitRecords(std::string_view text, char separator) {
    std::vector<Record> records;
    Record record;
    std::string cell;
    bool cellStarted = false;  // a character of the current cell has been consumed
    bool inQuotes = false;
    int line = 1;
    record.line = line;

    bool cellQuoted = false;
    const auto endCell = [&] {
        record.cells.push_back(std::move(cell));
        record.quoted.push_back(std::exchange(cellQuoted, false));
        cell.clear();
        cellStarted = false;
    };
    const auto endRecord = [&] {
        endCell();
        const bool blank = record.cells.size() == 1 && record.cells.front().empty();
        if (!blank) records.push_back(std::move(record));
        record = Record{};
        ++line;
        record.line = line;
    };

    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        const bool crlf = c == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        const std::size_t width = crlf ? 2 : 1;
        if (inQuotes) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    cell += '"';
                    i += 2;
                    continue;
                }
                inQuotes = false;
            } else {
                cell += text.substr(i, width);
                // A lone CR inside quotes stays in the cell but, unlike LF and CR LF, is no line.
                if (c == '\n' || crlf) ++line;
            }
        } else if (c == separator) {
            endCell();
        } else if (c == '\n' || c == '\r') {
            endRecord();
        } else if (c == '"' && !cellStarted) {
            inQuotes = true;
            cellStarted = true;
            cellQuoted = true;
        } else {
            cell += c;
            cellStarted = true;
        }
        i += width;
    }
    // A last record without a line end, or a quoted cell never closed, still counts.
    if (cellStarted || !cell.empty() || !record.cells.empty()) endRecord();
    return records;
}

// ---- Header ---------------------------------------------------------------------------------

using ColumnPositions = std::array<std::optional<std::size_t>, columnFacts.size()>;

std::optional<Column> columnForHeader(std::string_view cell) {
    const std::string key = headerKey(cell);
    for (const ColumnFacts& facts : columnFacts) {
        if (key == headerKey(facts.title)) return facts.column;
    }
    for (const ColumnFacts& facts : columnFacts) {
        const auto matches = [&key](std::string_view alias) { return headerKey(alias) == key; };
        if (std::ranges::any_of(facts.aliases, matches)) return facts.column;
    }
    return std::nullopt;
}

ColumnPositions columnPositions(const Record& header) {
    ColumnPositions positions;
    for (std::size_t i = 0; i < header.cells.size(); ++i) {
        const auto column = columnForHeader(header.cells[i]);
        if (column && !positions[std::to_underlying(*column)]) positions[std::to_underlying(*column)] = i;
    }
    return positions;
}

// ---- Cells ----------------------------------------------------------------------------------

// An optional sign and at least one decimal digit, nothing else, within lower ... upper.
std::optional<long> decimalInteger(std::string_view text, long lower, long upper) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    long magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    const long number = negative ? -magnitude : magnitude;
    if (number < lower || number > upper) return std::nullopt;
    return number;
}

// A number as people type it, decimal comma allowed. Infinities and NaN are refused: they
// cannot be stored in the project's JSON and make every reading meaningless.
std::optional<double> finiteNumber(std::string_view text) {
    const auto number = Datapoint::parseNumber(text);
    if (!number || !std::isfinite(*number)) return std::nullopt;
    return number;
}

class RecordReader {
public:
    RecordReader(const Record& record, const ColumnPositions& positions)
        : m_record(record), m_positions(positions) {}

    [[nodiscard]] std::string_view cell(Column column) const {
        const auto position = m_positions[std::to_underlying(column)];
        if (!position || *position >= m_record.cells.size()) return {};
        return AsciiText::trimSpacesAndTabs(m_record.cells[*position]);
    }

    // A text column: a quoted cell is taken as written, spaces included, and loses the
    // apostrophe an export put before a formula-like text.
    [[nodiscard]] std::string text(Column column) const {
        const auto position = m_positions[std::to_underlying(column)];
        if (!position || *position >= m_record.cells.size()) return {};
        const std::string& raw = m_record.cells[*position];
        const bool quoted = *position < m_record.quoted.size() && m_record.quoted[*position];
        return std::string(withoutFormulaGuard(quoted ? std::string_view(raw) : cell(column)));
    }

    [[nodiscard]] std::expected<Datapoint, Problem> datapoint() const {
        const std::string_view tableText = cell(Column::table);
        const auto table = registerTableFromText(tableText);
        if (!table) return fail(ProblemKind::invalidTable, tableText);

        const std::string_view addressText = cell(Column::address);
        const auto address = decimalInteger(addressText, 0, std::numeric_limits<std::uint16_t>::max());
        if (!address) return fail(ProblemKind::invalidAddress, addressText);

        const std::string_view unitText = cell(Column::unitID);
        std::optional<long> unit = 1;
        if (!unitText.empty()) unit = decimalInteger(unitText, 0, 255);
        if (!unit) return fail(ProblemKind::invalidUnit, unitText);

        const std::string_view typeText = cell(Column::dataType);
        std::optional<DataType> type = isBit(*table) ? DataType::bool_ : DataType::uint16;
        if (!typeText.empty()) {
            type = dataTypeFromText(typeText);
            if (type &&
                std::ranges::find(allowedDataTypes(*table), *type) == allowedDataTypes(*table).end()) {
                type.reset();
            }
        }
        if (!type) return fail(ProblemKind::invalidDataType, typeText);

        const std::string_view scaleText = cell(Column::scale);
        std::optional<double> scale = 1.0;
        if (!scaleText.empty()) scale = finiteNumber(scaleText);
        if (!scale || *scale == 0.0) return fail(ProblemKind::invalidNumber, scaleText);

        const std::string_view valueText = cell(Column::value);
        std::optional<double> value = 0.0;
        if (!valueText.empty()) value = finiteNumber(valueText);
        if (!value) return fail(ProblemKind::invalidNumber, valueText);

        Datapoint point;
        point.name = text(Column::name);
        point.unitID = static_cast<std::uint8_t>(*unit);
        point.table = *table;
        point.address = static_cast<std::uint16_t>(*address);
        point.dataType = *type;
        point.wordOrder =
            wordOrderFromRawValue(AsciiText::lowercased(cell(Column::wordOrder))).value_or(WordOrder::abcd);
        point.scale = *scale;
        point.engineeringUnit = text(Column::engineeringUnit);
        point.format = displayFormatFromText(cell(Column::format)).value_or(DisplayFormat::decimal);
        point.value = *value;
        point.notes = text(Column::notes);
        return point;
    }

private:
    static std::unexpected<Problem> fail(ProblemKind kind, std::string_view text) {
        return std::unexpected(Problem{kind, std::string(text)});
    }

    const Record& m_record;
    const ColumnPositions& m_positions;
};

bool isBlank(const Record& record) {
    return std::ranges::all_of(
        record.cells, [](const std::string& cell) { return AsciiText::trimSpacesAndTabs(cell).empty(); });
}

// Formula-like text: what a spreadsheet would evaluate once any apostrophes in front of it
// are gone.
bool formulaLike(std::string_view text) {
    const std::size_t start = text.find_first_not_of('\'');
    return start != std::string_view::npos && formulaStarts.find(text[start]) != std::string_view::npos;
}

}  // namespace

std::string textCell(std::string_view text) {
    if (!formulaLike(text)) return std::string(text);
    return "'" + std::string(text);
}

std::string_view withoutFormulaGuard(std::string_view cell) {
    if (cell.starts_with('\'') && formulaLike(cell)) cell.remove_prefix(1);
    return cell;
}

std::string quotedCell(std::string_view cell, char separator) {
    // Spreadsheets guess the separator on import (LibreOffice ticks comma, semicolon and tab
    // at once), so a decimal comma or a tab splits an unquoted cell whichever one this file uses.
    const bool special = std::ranges::any_of(cell, [separator](char c) {
        return c == separator || c == ',' || c == ';' || c == '\t' || c == '"' || c == '\n' || c == '\r';
    });
    if (!special && !cell.starts_with(' ') && !cell.ends_with(' ')) return std::string(cell);
    std::string out = "\"";
    for (const char c : cell) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

Dialect Dialect::forDecimalSeparator(std::string_view decimalSeparator) {
    if (decimalSeparator == ",") return {';', true};
    return {',', false};
}

Dialect Dialect::current() {
    return forDecimalSeparator(NumberLocale::current().decimalSeparator());
}

std::string export_(std::span<const Datapoint> datapoints, Dialect dialect) {
    std::string out(byteOrderMark);
    std::vector<std::string> cells;
    cells.reserve(columnFacts.size());
    for (const ColumnFacts& facts : columnFacts) cells.emplace_back(facts.title);
    appendLine(out, cells, dialect.separator);
    for (const Datapoint& point : datapoints) {
        cells.clear();
        cells.push_back(textCell(point.name));
        cells.push_back(fmt::format("{}", point.unitID));
        cells.emplace_back(code(point.table));
        cells.push_back(fmt::format("{}", point.address));
        cells.emplace_back(rawValue(point.dataType));
        cells.emplace_back(label(point.wordOrder));
        cells.push_back(numberText(point.scale, dialect.decimalComma));
        cells.push_back(textCell(point.engineeringUnit));
        cells.emplace_back(point.format == DisplayFormat::decimal ? std::string_view{}
                                                                  : rawValue(point.format));
        // The import refuses infinities and NaN (a live value may be one): no value imports
        // as 0, so the file always comes back.
        cells.push_back(std::isfinite(point.value) ? numberText(point.value, dialect.decimalComma) : "");
        cells.push_back(textCell(point.notes));
        appendLine(out, cells, dialect.separator);
    }
    return out;
}

ImportResult parse(std::string_view text) {
    const std::string clean =
        validUTF8(text.starts_with(byteOrderMark) ? text.substr(byteOrderMark.size()) : text);
    const std::vector<Record> records = splitRecords(clean, detectSeparator(clean));
    ImportResult result;
    if (records.empty()) return result;

    const ColumnPositions positions = columnPositions(records.front());
    if (!positions[std::to_underlying(Column::table)] || !positions[std::to_underlying(Column::address)]) {
        result.issues.push_back({1, Problem{ProblemKind::missingColumns, {}}});
        return result;
    }
    for (std::size_t i = 1; i < records.size(); ++i) {
        const Record& record = records[i];
        if (isBlank(record)) continue;
        auto point = RecordReader(record, positions).datapoint();
        if (point) {
            result.datapoints.push_back(std::move(*point));
        } else {
            result.issues.push_back({record.line, std::move(point.error())});
        }
    }
    return result;
}

}  // namespace tessarin::DatapointCSV
