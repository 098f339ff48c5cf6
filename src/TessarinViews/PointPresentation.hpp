#pragma once

#include "ModbusCore/Datapoint.hpp"
#include "TessarinModel/PointStatus.hpp"
#include "TessarinViews/Tone.hpp"

#include <QString>

// How the table shows the live state of one datapoint: the value cell and the status cell.
// Pure over the datapoint and its status, so each rule can be checked without a widget.
namespace tessarin::PointPresentation {

struct StatusLook {
    QString symbol;  // the name of a drawing in Icons
    Tone tone;
    QString text;

    bool operator==(const StatusLook&) const = default;
};

struct ValueLook {
    QString text;
    Tone tone;

    bool operator==(const ValueLook&) const = default;
};

// polling: reading is on and the datapoint's poll is read, so a missing status is awaited.
[[nodiscard]] StatusLook status(const PointStatus* status, bool polling);

// The last good value with its unit; it stays after a failed read, in a quieter tone.
[[nodiscard]] ValueLook liveValue(const Datapoint& point, const PointStatus* status);

// "Raw registers: 00D7 0001"; empty without registers.
[[nodiscard]] QString rawTooltip(const PointStatus* status);

// "Last read at …" with the time in the user's locale; empty before the first read.
[[nodiscard]] QString updatedTooltip(const PointStatus* status);

}  // namespace tessarin::PointPresentation
