#include "PollAreaFixture.hpp"

#include "ModbusCore/Bytes.hpp"
#include "ModbusCore/MBAPHeader.hpp"
#include "TessarinViews/DatapointColumn.hpp"
#include "TessarinViews/DatapointTableModel.hpp"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace tessarin::test {

std::optional<QString> CancellingServices::runOpenPanel(const OpenPanelRequest& /*request*/) {
    ++panels;
    if (whilePanelOpen) whilePanelOpen();
    return std::nullopt;
}

std::optional<QString> CancellingServices::runSavePanel(const SavePanelRequest& /*request*/) {
    ++panels;
    if (whilePanelOpen) whilePanelOpen();
    return std::nullopt;
}

AlertResponse CancellingServices::runAlert(const AlertRequest& request) {
    alerts.push_back(request);
    return static_cast<AlertResponse>(request.buttons.size() - 1);
}

void PollAreaFixture::SetUp() {
    WidgetTest::SetUp();
    QSettings(QStringLiteral("Tessarin"), QStringLiteral("Tessarin")).clear();
    QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Tessarin"))
        .removeRecursively();
}

void PollAreaFixture::TearDown() {
    area.reset();
    model.reset();
}

void PollAreaFixture::makeArea(std::vector<Poll> polls) {
    model = std::make_unique<PollerModel>(services);
    PollerProject project = model->makeProject();
    project.host = "127.0.0.1";
    project.port = refusing.port();
    project.polls = std::move(polls);
    model->apply(project);
    model->setShowTimestamps(false);
    area = std::make_unique<PollArea>(*model);
    area->resize(1100, 520);
    area->show();
}

void PollAreaFixture::startReading() {
    model->start();
    ASSERT_EQ(model->state(), PollerState::connecting);
}

QModelIndex PollAreaFixture::cell(int row, DatapointColumn column) const {
    return area->tableModel().index(row, columnIndex(column));
}

QString PollAreaFixture::text(int row, DatapointColumn column) const {
    return cell(row, column).data(Qt::DisplayRole).toString();
}

Poll pollWith(std::vector<Datapoint> datapoints, std::string name) {
    Poll poll;
    poll.name = std::move(name);
    poll.datapoints = std::move(datapoints);
    return poll;
}

PollerEvent readOK(const Poll& poll, const ReadBlock& block, const std::vector<std::uint16_t>& registers) {
    std::vector<std::uint8_t> pdu{static_cast<std::uint8_t>(readFunction(block.table)),
                                  static_cast<std::uint8_t>(registers.size() * 2)};
    for (const std::uint16_t value : registers) appendUInt16(pdu, value);
    return {PollerEvent::Read{.poll = poll.id,
                              .block = block,
                              .result = PDU::ReadData::registers(registers),
                              .request = MBAPHeader::message(1, block.unit, block.pdu()),
                              .response = MBAPHeader::message(1, block.unit, pdu),
                              .duration = 0.0124}};
}

PollerEvent readFailed(const Poll& poll, const ReadBlock& block, PollFailure failure) {
    return {PollerEvent::Read{.poll = poll.id,
                              .block = block,
                              .result = std::unexpected(PollFailureError{failure}),
                              .request = MBAPHeader::message(0, block.unit, block.pdu()),
                              .response = {},
                              .duration = 1.0}};
}

PollerEvent wroteFailed(const Uuid& token, PollFailure failure) {
    return {PollerEvent::Wrote{.token = token,
                               .unit = 1,
                               .result = std::unexpected(PollFailureError{failure}),
                               .request = {},
                               .response = {},
                               .duration = 1.0}};
}

}  // namespace tessarin::test
