#include "PollAreaFixture.hpp"

#include "TessarinViews/DatapointTableModel.hpp"
#include "TessarinViews/WriteEditor.hpp"
#include "support/PeerProcess.hpp"

#include <QLineEdit>
#include <QTest>

namespace tessarin::test {
namespace {

// Generous: the engine waits 2 s between connection attempts.
constexpr int capMs = 20'000;

class PollAreaWithDevice : public PollAreaFixture {};

TEST_F(PollAreaWithDevice, ValuesFromTheDeviceArriveInTheTableAndAWriteReadsBack) {
    auto peer = PeerProcess::start(PeerKind::libmodbusTCP);
    ASSERT_TRUE(peer) << peer.error();
    Datapoint flow = holdingRegister(20, DataType::uint32, "Flow");
    Datapoint setpoint = holdingRegister(7, DataType::int16, "Setpoint");
    setpoint.scale = 0.1;
    Poll device = pollWith({flow, setpoint, coil(3, "Pump")}, "Device");
    device.intervalMs = 100;
    makeArea({device});
    model->setPortText(QString::number(peer->port()));
    model->start();

    const auto value = [&](int row) { return text(row, DatapointColumn::value); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return value(2) != QStringLiteral("—"); }, capMs));
    EXPECT_EQ(value(0), QString::number((20 << 16) + 21));
    EXPECT_EQ(value(1), QStringLiteral("0.7"));
    EXPECT_EQ(value(2), QStringLiteral("1"));
    EXPECT_TRUE(text(0, DatapointColumn::status).startsWith(QStringLiteral("OK · ")));

    area->openWriteEditor(1);
    WriteEditor* editor = area->writeEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->field()->text(), QStringLiteral("0.7"));
    editor->field()->setText(QStringLiteral("-12.5"));
    editor->submit();
    EXPECT_TRUE(QTest::qWaitFor([&] { return value(1) == QStringLiteral("-12.5") && model->pendingWrites().empty(); },
                                capMs));
    // The next read confirms what the device now holds, not just what was sent.
    const auto written = model->status(setpoint.id)->updated;
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->status(setpoint.id)->updated != written; }, capMs));
    EXPECT_EQ(value(1), QStringLiteral("-12.5"));
    EXPECT_EQ(cell(1, DatapointColumn::value).data(Qt::ToolTipRole).toString(),
              QStringLiteral("Raw registers: FF83"));
    EXPECT_FALSE(model->writeError());
    model->stop();
}

}  // namespace
}  // namespace tessarin::test
