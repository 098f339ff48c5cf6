#include "ModbusCore/Datapoint.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>
#include <string_view>
#include <tuple>

namespace tessarin {
namespace {

using nlohmann::json;

Datapoint registerPoint(DataType type, std::uint16_t address, std::uint8_t unit = 1,
                        RegisterTable table = RegisterTable::holdingRegister) {
    Datapoint fields;
    fields.unitID = unit;
    fields.table = table;
    fields.address = address;
    fields.dataType = type;
    return Datapoint::make(fields);
}

TEST(Datapoint, BitTablesHoldOnlyBools) {
    Datapoint point = registerPoint(DataType::float32, 3, 1, RegisterTable::coil);
    EXPECT_EQ(point.dataType, DataType::bool_);
    point.setTable(RegisterTable::holdingRegister);
    EXPECT_EQ(point.dataType, DataType::uint16);
    point.dataType = DataType::int32;
    point.setTable(RegisterTable::inputRegister);
    EXPECT_EQ(point.dataType, DataType::int32);
    point.setTable(RegisterTable::coil);
    EXPECT_EQ(std::pair(point.dataType, point.count()), std::pair(DataType::bool_, 1));
    // A bool in a register table is allowed and occupies one register.
    EXPECT_EQ(registerPoint(DataType::bool_, 0).dataType, DataType::bool_);
}

TEST(Datapoint, AddressesNearTheTopOfTheTable) {
    const Datapoint last = registerPoint(DataType::float64, 65533);
    EXPECT_EQ(last.addressRange(), (AddressRange{65533, 65536}));
    EXPECT_EQ(last.lastAddress(), std::nullopt);
    EXPECT_EQ(registerPoint(DataType::float64, 65532).lastAddress(), 65535);
    EXPECT_EQ(registerPoint(DataType::uint16, 65535).lastAddress(), 65535);
}

TEST(Datapoint, OverlapNeedsSameUnitTableAndAnAddress) {
    const Datapoint wide = registerPoint(DataType::int32, 10);
    EXPECT_TRUE(registerPoint(DataType::float64, 7).overlaps(wide));
    EXPECT_FALSE(registerPoint(DataType::float64, 6).overlaps(wide));
    EXPECT_FALSE(wide.overlaps(registerPoint(DataType::uint16, 11, 2)));
    EXPECT_FALSE(wide.overlaps(registerPoint(DataType::uint16, 11, 1, RegisterTable::inputRegister)));
    // Two coils at neighbouring addresses do not overlap, whatever type they claimed.
    EXPECT_FALSE(registerPoint(DataType::int64, 10, 1, RegisterTable::coil)
                     .overlaps(registerPoint(DataType::int64, 11, 1, RegisterTable::coil)));
}

TEST(DatapointJSON, EncodesAllThirteenKeysWithRawValuesAndRoundTrips) {
    Datapoint point = registerPoint(DataType::float32, 40, 255, RegisterTable::inputRegister);
    point.id = *Uuid::parse("0a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d");
    point.wordOrder = WordOrder::cdab;
    point.format = DisplayFormat::hex;
    point.scale = 0.1;
    point.name = "Flow \"main\"";
    point.engineeringUnit = "°C";
    point.simulation = {Simulation::Kind::sine, -1, 1, 2.5};

    const json encoded = point.toJSON();
    EXPECT_EQ(encoded.size(), 13U);
    EXPECT_EQ(encoded.at("id"), "0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D");
    EXPECT_EQ(std::tuple(encoded.at("table"), encoded.at("wordOrder"), encoded.at("format")),
              std::tuple("inputRegister", "cdab", "hex"));
    EXPECT_EQ(encoded.at("simulation"),
              json::parse(R"({"kind":"sine","minimum":-1.0,"maximum":1.0,"period":2.5})"));

    const auto decoded = Datapoint::fromJSON(json::parse(encoded.dump()));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, point);
    EXPECT_EQ(std::hash<Datapoint>{}(*decoded), std::hash<Datapoint>{}(point));
    Datapoint negativeZero = point;
    negativeZero.value = -0.0;
    point.value = 0.0;
    EXPECT_EQ(std::hash<Datapoint>{}(negativeZero), std::hash<Datapoint>{}(point));
}

// Missing, null and unknown keys all leave the defaults, with a fresh id each time.
TEST(DatapointJSON, MissingNullAndUnknownKeysAreTolerated) {
    const json tolerated = json::parse(R"({"name":null,"scale":null,"future":[1,2]})");
    const auto decoded = Datapoint::fromJSON(tolerated);
    ASSERT_TRUE(decoded.has_value());
    Datapoint defaults;
    defaults.id = decoded->id;
    EXPECT_EQ(*decoded, defaults);
    EXPECT_NE(Datapoint::fromJSON(tolerated)->id, decoded->id);
    EXPECT_EQ(Datapoint::fromJSON(json::parse(R"({"table":"coil","dataType":"float32"})"))->dataType,
              DataType::bool_);
}

TEST(DatapointJSON, StrictAboutTypesCasesAndRangesNamingTheKey) {
    using Reason = JSONDecodeError::Reason;
    const std::pair<std::string_view, JSONDecodeError> rows[] = {
        {R"([])", {Reason::notAnObject, ""}},
        {R"({"table":"Coil"})", {Reason::unknownCase, "table"}},
        {R"({"table":3})", {Reason::wrongType, "table"}},
        {R"({"unitID":256})", {Reason::outOfRange, "unitID"}},
        {R"({"unitID":1.5})", {Reason::outOfRange, "unitID"}},
        {R"({"address":1e300})", {Reason::outOfRange, "address"}},
        {R"({"scale":"0.1"})", {Reason::wrongType, "scale"}},
        {R"({"id":"{0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D}"})", {Reason::invalidUuid, "id"}},
        {R"({"simulation":{"kind":"none","minimum":0,"maximum":1}})",
         {Reason::missingKey, "simulation.period"}},
        {R"({"simulation":{"kind":null,"minimum":0,"maximum":1,"period":1}})",
         {Reason::missingKey, "simulation.kind"}},
        {R"({"simulation":{"kind":"ramp","minimum":"0","maximum":1,"period":1}})",
         {Reason::wrongType, "simulation.minimum"}},
    };
    for (const auto& [text, expected] : rows) {
        SCOPED_TRACE(text);
        const auto decoded = Datapoint::fromJSON(json::parse(text));
        ASSERT_FALSE(decoded.has_value());
        EXPECT_EQ(decoded.error(), expected)
            << rawValue(decoded.error().reason) << " " << decoded.error().key;
    }
    // A parser that turns 1e400 into infinity must not smuggle it into a scale.
    json infinite = json::object();
    infinite["scale"] = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Datapoint::fromJSON(infinite).error(), (JSONDecodeError{Reason::outOfRange, "scale"}));
}

TEST(Simulation, GeneratedValues) {
    using Kind = Simulation::Kind;
    const std::tuple<Simulation, double, std::optional<double>> rows[] = {
        {{Kind::none, 0, 100, 10}, 5, std::nullopt},
        {{Kind::toggle, 5, 1, 2}, 3, 5.0},   // n = 1, odd: the larger
        {{Kind::toggle, 0, 1, 1}, -1, 1.0},  // n = −1 is odd too
        {{Kind::counter, 0, 3, 1}, 4, 0.0},
        {{Kind::counter, 0, 3, 1}, -1, 3.0},   // counts down into the range before zero
        {{Kind::counter, 2, 4.5, 1}, 3, 2.0},  // k = floor(2.5) + 1 = 3
        {{Kind::ramp, 0, 10, 4}, -1, -2.5},    // the fraction keeps the sign of x
        {{Kind::ramp, 0, 10, -3}, 0.05, 5.0},  // periods below 0.1 count as 0.1
    };
    for (const auto& [simulation, t, expected] : rows) {
        SCOPED_TRACE(testing::Message() << rawValue(simulation.kind) << " t=" << t);
        const std::optional<double> value = simulation.valueAt(t);
        ASSERT_EQ(value.has_value(), expected.has_value());
        EXPECT_NEAR(value.value_or(0), expected.value_or(0), 1e-9);
    }
    // Absurd inputs give some value without undefined behaviour.
    for (double t : {1e300, -1e300, std::numeric_limits<double>::quiet_NaN()}) {
        for (Simulation::Kind kind : allSimulationKinds) (void)Simulation{kind, 0, 1e308, 1e-300}.valueAt(t);
    }
}

TEST(Uuid, TextFormsAndRandomVersion) {
    const auto parsed = Uuid::parse("0a1b2c3d-4e5f-4A6B-8c7d-9E0F1A2B3C4D");
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->text(), "0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D");
    for (std::string_view bad :
         {"0A1B2C3D4E5F4A6B8C7D9E0F1A2B3C4D", "0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4G"}) {
        EXPECT_EQ(Uuid::parse(bad), std::nullopt) << bad;
    }
    const Uuid a = Uuid::random();
    EXPECT_NE(a, Uuid::random());
    EXPECT_EQ(a.text()[14], '4');
    EXPECT_NE(std::string_view("89AB").find(a.text()[19]), std::string_view::npos);
}

}  // namespace
}  // namespace tessarin
