#include "DeviceSimulator/DemoGenerators.hpp"

#include "ModbusCore/DataType.hpp"
#include "ModbusCore/RegisterTable.hpp"

namespace tessarin::DemoGenerators {

namespace {

using Kind = Simulation::Kind;

// Seconds since the demo started, as a run time counts them.
constexpr Simulation runTime{Kind::counter, 0, 2147483647, 1};
constexpr Simulation slowSine{Kind::sine, 18, 24, 60};
constexpr Simulation ramp{Kind::ramp, 0, 10, 30};
constexpr Simulation modes{Kind::counter, 0, 3, 10};
constexpr Simulation blink{Kind::toggle, 0, 1, 5};

}  // namespace

Simulation simulationFor(const Datapoint& point) {
    if (isBit(point.table) || point.dataType == DataType::bool_) return blink;
    if (isFloat(point.dataType)) return ramp;
    if (isSigned(point.dataType)) return slowSine;
    if (point.dataType == DataType::uint16) return modes;
    return runTime;
}

PollerProject applied(PollerProject project) {
    for (Poll& poll : project.polls) {
        for (Datapoint& point : poll.datapoints) {
            if (!point.simulation.isActive()) point.simulation = simulationFor(point);
        }
    }
    return project;
}

}  // namespace tessarin::DemoGenerators
