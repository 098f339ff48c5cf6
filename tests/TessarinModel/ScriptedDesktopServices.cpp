#include "ScriptedDesktopServices.hpp"

#include <gtest/gtest.h>

namespace tessarin::test {

std::optional<QString> ScriptedDesktopServices::runOpenPanel(const OpenPanelRequest& request) {
    openPanels.push_back(request);
    if (m_openAnswers.empty()) {
        ADD_FAILURE() << "an open panel that the test did not expect";
        return std::nullopt;
    }
    auto answer = std::move(m_openAnswers.front());
    m_openAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedDesktopServices::runSavePanel(const SavePanelRequest& request) {
    savePanels.push_back(request);
    if (m_saveAnswers.empty()) {
        ADD_FAILURE() << "a save panel that the test did not expect: " << request.proposedName.toStdString();
        return std::nullopt;
    }
    auto answer = std::move(m_saveAnswers.front());
    m_saveAnswers.pop_front();
    return answer;
}

AlertResponse ScriptedDesktopServices::runAlert(const AlertRequest& request) {
    alerts.push_back(request);
    if (m_alertAnswers.empty()) {
        ADD_FAILURE() << "an alert that the test did not expect: " << request.message.toStdString();
        return AlertResponse::third;
    }
    const AlertResponse answer = m_alertAnswers.front();
    m_alertAnswers.pop_front();
    return answer;
}

}  // namespace tessarin::test
