#include "PollerCore/ExampleProject.hpp"

#include "Localization/L10n.hpp"

namespace tessarin {

PollerProject makeExampleProject() {
    const auto point = [](std::string name, RegisterTable table, std::uint16_t address, DataType type,
                          double scale, std::string unit) {
        Datapoint fields;
        fields.name = std::move(name);
        fields.unitID = 1;
        fields.table = table;
        fields.address = address;
        fields.dataType = type;
        fields.wordOrder = WordOrder::abcd;
        fields.scale = scale;
        fields.engineeringUnit = std::move(unit);
        return Datapoint::make(std::move(fields));
    };
    Poll poll;
    poll.name = L10n::Example::pollName();
    poll.intervalMs = 1000;
    poll.enabled = true;
    poll.datapoints = {
        point(L10n::Example::temperature(), RegisterTable::inputRegister, 0, DataType::int16, 0.1, "°C"),
        point(L10n::Example::pressure(), RegisterTable::inputRegister, 1, DataType::float32, 1, "bar"),
        point(L10n::Example::runtime(), RegisterTable::inputRegister, 3, DataType::uint32, 1, "s"),
        point(L10n::Example::setpoint(), RegisterTable::holdingRegister, 0, DataType::int16, 0.1, "°C"),
        point(L10n::Example::mode(), RegisterTable::holdingRegister, 1, DataType::uint16, 1, ""),
        point(L10n::Example::pump(), RegisterTable::coil, 0, DataType::bool_, 1, ""),
        point(L10n::Example::alarm(), RegisterTable::discreteInput, 0, DataType::bool_, 1, ""),
    };
    poll.plotted.insert(poll.datapoints.front().id);

    PollerProject project;
    project.version = 1;
    project.host = "127.0.0.1";
    project.port = 502;
    project.framing = TCPFraming::modbusTCP;
    project.timeoutMs = 1000;
    project.writeMode = WriteMode::single;
    project.maxGap = 0;
    project.polls.push_back(std::move(poll));
    return project;
}

}  // namespace tessarin
