#pragma once

#include "ViewsTestApp.hpp"
#include "TessarinModel/DesktopServices.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/DatapointColumn.hpp"
#include "TessarinViews/PollArea.hpp"
#include "support/DatapointBuilders.hpp"
#include "support/FreePort.hpp"

#include <memory>
#include <vector>

namespace tessarin::test {

// Answers every dialog with Cancel and counts what was asked.
class CancellingServices final : public DesktopServices {
public:
    std::optional<QString> runOpenPanel(const OpenPanelRequest& request) override;
    std::optional<QString> runSavePanel(const SavePanelRequest& request) override;
    AlertResponse runAlert(const AlertRequest& request) override;

    // Runs before a panel answers, as the desktop's event loop would while it is open.
    std::function<void()> whilePanelOpen;
    int panels = 0;
    std::vector<AlertRequest> alerts;
};

// A model on fresh settings with the poll area over it; the model reads the polls a test
// gives it from a port that refuses connections, so the events a test hands it are the only
// ones it handles.
class PollAreaFixture : public WidgetTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The model with these polls (the first selected), not reading.
    void makeArea(std::vector<Poll> polls);
    // Starts reading, so that events reach the model.
    void startReading();
    void deliver(PollerEvent event) { model->handle(event); }

    [[nodiscard]] const Poll& poll(std::size_t index = 0) const { return model->polls().at(index); }
    [[nodiscard]] QModelIndex cell(int row, DatapointColumn column) const;
    [[nodiscard]] QString text(int row, DatapointColumn column) const;

    CancellingServices services;
    std::unique_ptr<PollerModel> model;
    std::unique_ptr<PollArea> area;
    ClosedPort refusing;
};

Poll pollWith(std::vector<Datapoint> datapoints, std::string name = "Poll");

// The engine's report of a read of the registers at the block, or of its failure.
PollerEvent readOK(const Poll& poll, const ReadBlock& block, const std::vector<std::uint16_t>& registers);
PollerEvent readFailed(const Poll& poll, const ReadBlock& block, PollFailure failure);
PollerEvent wroteFailed(const Uuid& token, PollFailure failure);

}  // namespace tessarin::test
