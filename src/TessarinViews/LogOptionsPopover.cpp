#include "TessarinViews/LogOptionsPopover.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/FormCaption.hpp"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

namespace tessarin {

LogOptionsPopover::LogOptionsPopover(PollerModel& model, QWidget* parent)
    : PopoverPanel(panelWidth, parent), m_model(model) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    auto* section = new QGroupBox(qtText(L10n::Footer::options()), this);
    auto* toggles = new QVBoxLayout(section);
    const auto addToggle = [&](const std::string& label, const QString& tip, void (PollerModel::*set)(bool)) {
        auto* box = new QCheckBox(qtText(label), section);
        box->setToolTip(tip);
        box->setAccessibleName(qtText(label));
        toggles->addWidget(box);
        // The model by its own pointer: GCC 12 under UBSan loses a `this` captured through the
        // enclosing lambda and reports it as null.
        connect(box, &QCheckBox::toggled, this, [model = &m_model, set](bool on) { (model->*set)(on); });
        return box;
    };
    m_autoscroll = addToggle(L10n::Footer::autoscroll(), QString(), &PollerModel::setAutoscroll);
    m_timestamps = addToggle(L10n::Footer::timestamps(), QString(), &PollerModel::setShowTimestamps);
    m_rawFrames = addToggle(L10n::Footer::rawFrames(), qtText(L10n::Footer::rawFramesHelp()), &PollerModel::setShowRawFrames);
    m_onlyProblems =
        addToggle(L10n::Footer::onlyProblems(), qtText(L10n::Footer::onlyProblemsHelp()), &PollerModel::setLogOnlyProblems);
    toggles->addWidget(new FormCaption(qtText(L10n::Footer::onlyProblemsHelp()), section));
    layout->addWidget(section);

    for (const auto signal : {&PollerModel::autoscrollChanged, &PollerModel::showTimestampsChanged,
                              &PollerModel::showRawFramesChanged, &PollerModel::logOnlyProblemsChanged}) {
        connect(&m_model, signal, this, &LogOptionsPopover::refresh);
    }
    refresh();
}

void LogOptionsPopover::refresh() {
    m_autoscroll->setChecked(m_model.autoscroll());
    m_timestamps->setChecked(m_model.showTimestamps());
    m_rawFrames->setChecked(m_model.showRawFrames());
    m_onlyProblems->setChecked(m_model.logOnlyProblems());
}

}  // namespace tessarin
