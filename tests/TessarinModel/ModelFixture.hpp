#pragma once

#include "GuiTestApp.hpp"
#include "ScriptedDesktopServices.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "support/DatapointBuilders.hpp"
#include "support/FreePort.hpp"

#include <gtest/gtest.h>

#include <QString>

#include <memory>

namespace tessarin::test {

// A model on fresh settings and an empty data folder, with scripted dialogs.
class ModelFixture : public ::testing::Test {
public:
    static QString dataFolder();
    static QString autosaveFile();
    static void writeFile(const QString& path, const QByteArray& bytes);
    static QByteArray readFile(const QString& path);

protected:
    void SetUp() override;
    void TearDown() override;

    // The model reads settings and the autosave file when it is made, so a test prepares
    // both first.
    PollerModel& makeModel();

    // A model reading the polls (none: the example's) from a port that refuses every
    // connection, so that the events a test hands it are the only ones it handles; its log
    // empty and without timestamps.
    PollerModel& startReading(std::vector<Poll> polls = {});

    // The lines of the log without their line feeds.
    std::vector<std::string> logLines() const;

    ScriptedDesktopServices services;
    std::unique_ptr<PollerModel> model;
    ClosedPort refusing;
};

Poll pollWith(std::vector<Datapoint> datapoints, std::string name = "Poll");

// A good read of registers from block, with its frames, as the poll's engine reports it.
PollerEvent readOK(const Poll& poll, const ReadBlock& block, const std::vector<std::uint16_t>& registers);

}  // namespace tessarin::test
