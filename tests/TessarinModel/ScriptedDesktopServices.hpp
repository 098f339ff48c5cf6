#pragma once

#include "TessarinModel/DesktopServices.hpp"

#include <deque>
#include <functional>
#include <vector>

namespace tessarin::test {

// Answers the model's dialogs from a script the test writes beforehand and records every
// request. A dialog that the script does not expect fails the test and is cancelled.
class ScriptedDesktopServices final : public DesktopServices {
public:
    // Answers for the next panels (a path, or none for Cancel) and alerts, each used once in
    // the order given.
    void answerOpenPanel(std::optional<QString> path) { m_openAnswers.push_back(std::move(path)); }
    void answerSavePanel(std::optional<QString> path) { m_saveAnswers.push_back(std::move(path)); }
    void answerAlert(AlertResponse response) { m_alertAnswers.push_back(response); }

    // Runs once inside the next dialog, before it answers: what a view does when a dialog takes
    // the focus and an open cell editor commits, inside the dialog's own event loop.
    void whileNextDialogIsOpen(std::function<void()> action) { m_whileOpen = std::move(action); }

    std::optional<QString> runOpenPanel(const OpenPanelRequest& request) override;
    std::optional<QString> runSavePanel(const SavePanelRequest& request) override;
    AlertResponse runAlert(const AlertRequest& request) override;

    [[nodiscard]] bool scriptUsedUp() const {
        return m_openAnswers.empty() && m_saveAnswers.empty() && m_alertAnswers.empty();
    }

    std::vector<OpenPanelRequest> openPanels;
    std::vector<SavePanelRequest> savePanels;
    std::vector<AlertRequest> alerts;

private:
    std::deque<std::optional<QString>> m_openAnswers;
    std::deque<std::optional<QString>> m_saveAnswers;
    std::deque<AlertResponse> m_alertAnswers;
    std::function<void()> m_whileOpen;

    void runWhileOpen();
};

}  // namespace tessarin::test
