#pragma once

#include "ModbusCore/Datapoint.hpp"
#include "ModbusCore/Simulation.hpp"
#include "PollerCore/PollerProject.hpp"

// Lively generators for datapoints whose stored simulation is none, so that a demo device
// shows moving values without the project being edited: a slow sine for signed values (a
// temperature), a ramp for floating-point values (a pressure), a counter for wide unsigned
// values (a run time), a short counter for 16-bit values (a mode), a toggle for bits.
namespace tessarin::DemoGenerators {

// The demo generator for the datapoint's type and table; ranges are in engineering units.
[[nodiscard]] Simulation simulationFor(const Datapoint& point);

// The project with every simulation of kind none replaced by simulationFor; other
// simulations are kept as the user set them.
[[nodiscard]] PollerProject applied(PollerProject project);

}  // namespace tessarin::DemoGenerators
