#pragma once

#include "TessarinViews/PopoverPanel.hpp"

class QCheckBox;

namespace tessarin {

class PollerModel;

// The four log options, each bound to the model's option of the same name.
class LogOptionsPopover final : public PopoverPanel {
    Q_OBJECT

public:
    static constexpr int panelWidth = 360;

    LogOptionsPopover(PollerModel& model, QWidget* parent);

    [[nodiscard]] QCheckBox* autoscrollBox() const { return m_autoscroll; }
    [[nodiscard]] QCheckBox* timestampsBox() const { return m_timestamps; }
    [[nodiscard]] QCheckBox* rawFramesBox() const { return m_rawFrames; }
    [[nodiscard]] QCheckBox* onlyProblemsBox() const { return m_onlyProblems; }

private:
    void refresh();

    PollerModel& m_model;
    QCheckBox* m_autoscroll = nullptr;
    QCheckBox* m_timestamps = nullptr;
    QCheckBox* m_rawFrames = nullptr;
    QCheckBox* m_onlyProblems = nullptr;
};

}  // namespace tessarin
