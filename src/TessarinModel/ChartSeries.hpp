#pragma once

#include "ModbusCore/Uuid.hpp"
#include "TessarinModel/Sample.hpp"

#include <QString>

#include <vector>

namespace tessarin {

// What the chart draws for one datapoint: its label (with the engineering unit in
// parentheses) and at most ValueHistory::maxSeriesPoints + 1 samples, oldest first.
struct ChartSeries {
    Uuid id;  // the datapoint's
    QString name;
    std::vector<Sample> samples;

    bool operator==(const ChartSeries&) const = default;
};

}  // namespace tessarin
