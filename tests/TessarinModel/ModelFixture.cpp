#include "ModelFixture.hpp"

#include "GuiTestApp.hpp"
#include "ModbusCore/Bytes.hpp"
#include "ModbusCore/MBAPHeader.hpp"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace tessarin::test {

void ModelFixture::SetUp() {
    ensureGuiApp();
    QSettings(QStringLiteral("Tessarin"), QStringLiteral("Tessarin")).clear();
    QDir(dataFolder()).removeRecursively();
}

void ModelFixture::TearDown() {
    model.reset();
    EXPECT_TRUE(services.scriptUsedUp()) << "a scripted dialog answer was not used";
}

PollerModel& ModelFixture::makeModel() {
    model = std::make_unique<PollerModel>(services);
    return *model;
}

PollerModel& ModelFixture::startReading(std::vector<Poll> polls) {
    PollerModel& m = makeModel();
    m.setShowTimestamps(false);
    PollerProject project = m.makeProject();
    project.host = "127.0.0.1";
    project.port = refusing.port();
    if (!polls.empty()) {
        project.polls = std::move(polls);
    }
    m.apply(project);
    m.start();
    EXPECT_EQ(m.state(), PollerState::connecting);
    m.clearLog();
    return m;
}

QString ModelFixture::dataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tessarin");
}

QString ModelFixture::autosaveFile() {
    return dataFolder() + QStringLiteral("/project.json");
}

void ModelFixture::writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ModelFixture::readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<std::string> ModelFixture::logLines() const {
    std::vector<std::string> lines;
    for (const QString& line : model->output().plainText().split(u'\n')) {
        lines.push_back(line.toStdString());
    }
    if (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

PollerEvent readOK(const Poll& poll, const ReadBlock& block, const std::vector<std::uint16_t>& registers) {
    std::vector<std::uint8_t> pdu{static_cast<std::uint8_t>(readFunction(block.table)),
                                  static_cast<std::uint8_t>(registers.size() * 2)};
    for (const std::uint16_t value : registers) {
        appendUInt16(pdu, value);
    }
    return {PollerEvent::Read{.poll = poll.id,
                              .block = block,
                              .result = PDU::ReadData::registers(registers),
                              .request = MBAPHeader::message(1, block.unit, block.pdu()),
                              .response = MBAPHeader::message(1, block.unit, pdu),
                              .duration = 0.0129}};
}

Poll pollWith(std::vector<Datapoint> datapoints, std::string name) {
    Poll poll;
    poll.name = std::move(name);
    poll.datapoints = std::move(datapoints);
    return poll;
}

}  // namespace tessarin::test
