#include "ScriptedDesktopServices.hpp"

#include <gtest/gtest.h>

#include <utility>

namespace tessarin::test {
namespace {

template <typename Request, typename Answer>
Answer next(std::vector<Request>& requests, const Request& request, std::deque<Answer>& answers,
            Answer cancel, const char* dialog) {
    requests.push_back(request);
    if (answers.empty()) {
        ADD_FAILURE() << "a " << dialog << " that the test did not expect";
        return cancel;
    }
    Answer answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

}  // namespace

void ScriptedDesktopServices::runWhileOpen() {
    if (auto action = std::exchange(m_whileOpen, nullptr)) {
        action();
    }
}

std::optional<QString> ScriptedDesktopServices::runOpenPanel(const OpenPanelRequest& request) {
    runWhileOpen();
    return next(openPanels, request, m_openAnswers, std::optional<QString>(), "open panel");
}

std::optional<QString> ScriptedDesktopServices::runSavePanel(const SavePanelRequest& request) {
    runWhileOpen();
    return next(savePanels, request, m_saveAnswers, std::optional<QString>(), "save panel");
}

AlertResponse ScriptedDesktopServices::runAlert(const AlertRequest& request) {
    runWhileOpen();
    return next(alerts, request, m_alertAnswers, AlertResponse::third, "alert");
}

}  // namespace tessarin::test
