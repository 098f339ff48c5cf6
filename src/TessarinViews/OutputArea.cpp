#include "TessarinViews/OutputArea.hpp"

#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/EmptyLogView.hpp"
#include "TessarinViews/LogFindBar.hpp"
#include "TessarinViews/LogoBackdrop.hpp"
#include "TessarinViews/OutputTextView.hpp"

#include <QAction>
#include <QGridLayout>

namespace tessarin {

OutputArea::OutputArea(PollerModel& model, QWidget* parent) : QWidget(parent), m_model(model) {
    setObjectName(QStringLiteral("outputArea"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // One cell holds three layers; later siblings paint over earlier ones.
    m_backdrop = new LogoBackdrop(this);
    m_text = new OutputTextView(m_model.output(), this);
    m_empty = new EmptyLogView(m_model, this);
    m_findBar = new LogFindBar(*m_text, this);
    layout->addWidget(m_findBar, 0, 0);
    layout->addWidget(m_backdrop, 1, 0);
    layout->addWidget(m_text, 1, 0);
    layout->addWidget(m_empty, 1, 0);
    layout->setRowStretch(1, 1);

    m_find = new QAction(this);
    m_find->setShortcut(QKeySequence::Find);
    m_find->setShortcutContext(Qt::WindowShortcut);
    addAction(m_find);
    connect(m_find, &QAction::triggered, m_findBar, &LogFindBar::open);

    connect(&m_model, &PollerModel::outputIsEmptyChanged, this, &OutputArea::refreshEmptyLog);
    connect(&m_model, &PollerModel::stateChanged, this, &OutputArea::refreshEmptyLog);
    refreshEmptyLog();
}

bool OutputArea::showsEmptyLog() const {
    return !m_empty->isHidden();
}

void OutputArea::refreshEmptyLog() {
    m_empty->setVisible(m_model.outputIsEmpty() && m_model.state() == PollerState::stopped);
}

}  // namespace tessarin
