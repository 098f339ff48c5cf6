// The datapoint CSV import over arbitrary bytes: never a crash or a hang, issues in file order
// with real line numbers, every datapoint keeping the bit-table invariant, and whatever was
// imported surviving an export and a second import unchanged, in both dialects.
#include "ModbusCore/DatapointCSV.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessarin;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const DatapointCSV::ImportResult result = DatapointCSV::parse(text);

    int previousLine = 1;
    for (const DatapointCSV::ImportIssue& issue : result.issues) {
        check(issue.line >= previousLine);
        check(issue.line <= static_cast<int>(size) + 1);
        previousLine = issue.line;
    }
    for (const Datapoint& point : result.datapoints) {
        check(!isBit(point.table) || point.dataType == DataType::bool_);
        check(point.scale != 0.0);
    }

    for (const DatapointCSV::Dialect dialect :
         {DatapointCSV::Dialect{',', false}, DatapointCSV::Dialect{';', true}}) {
        const DatapointCSV::ImportResult again =
            DatapointCSV::parse(DatapointCSV::export_(result.datapoints, dialect));
        check(again.issues.empty());
        check(again.datapoints.size() == result.datapoints.size());
        for (std::size_t i = 0; i < again.datapoints.size(); ++i) {
            Datapoint copy = again.datapoints[i];
            copy.id = result.datapoints[i].id;
            check(copy == result.datapoints[i]);
        }
    }
    return 0;
}
