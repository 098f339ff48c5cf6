#include "ScriptedDesktopServices.hpp"

#include <gtest/gtest.h>

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

std::optional<QString> ScriptedDesktopServices::runOpenPanel(const OpenPanelRequest& request) {
    return next(openPanels, request, m_openAnswers, std::optional<QString>(), "open panel");
}

std::optional<QString> ScriptedDesktopServices::runSavePanel(const SavePanelRequest& request) {
    return next(savePanels, request, m_saveAnswers, std::optional<QString>(), "save panel");
}

AlertResponse ScriptedDesktopServices::runAlert(const AlertRequest& request) {
    return next(alerts, request, m_alertAnswers, AlertResponse::third, "alert");
}

}  // namespace tessarin::test
