#include "ModelFixture.hpp"

#include "GuiTestApp.hpp"

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

Datapoint holdingRegister(std::uint16_t address, DataType type, std::string name) {
    Datapoint point;
    point.name = std::move(name);
    point.table = RegisterTable::holdingRegister;
    point.address = address;
    point.dataType = type;
    return Datapoint::make(std::move(point));
}

Datapoint coil(std::uint16_t address, std::string name) {
    Datapoint point;
    point.name = std::move(name);
    point.table = RegisterTable::coil;
    point.address = address;
    return Datapoint::make(std::move(point));
}

Poll pollWith(std::vector<Datapoint> datapoints, std::string name) {
    Poll poll;
    poll.name = std::move(name);
    poll.datapoints = std::move(datapoints);
    return poll;
}

}  // namespace tessarin::test
