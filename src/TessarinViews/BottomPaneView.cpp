#include "TessarinViews/BottomPaneView.hpp"

#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/ChartPane.hpp"
#include "TessarinViews/ChartPeriodPicker.hpp"
#include "TessarinViews/OutputArea.hpp"
#include "TessarinViews/PaneHeader.hpp"

#include <QFrame>
#include <QSettings>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tessarin {

namespace {

const QString paneKey = QStringLiteral("bottomPane");

}  // namespace

BottomPaneView::BottomPaneView(PollerModel& model, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("bottomPane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_header = new PaneHeader(model, this);
    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    m_content = new QStackedWidget(this);
    m_output = new OutputArea(model, m_content);
    m_chart = new ChartPane(model, m_content);
    m_content->addWidget(m_output);
    m_content->addWidget(m_chart);
    layout->addWidget(m_header);
    layout->addWidget(divider);
    layout->addWidget(m_content, 1);

    m_chart->setWindow(m_header->periodPicker()->window());
    connect(m_header->periodPicker(), &ChartPeriodPicker::windowChanged, m_chart, &ChartPane::setWindow);
    connect(m_header, &PaneHeader::paneChosen, this, &BottomPaneView::setPane);

    const std::string stored = utf8Text(QSettings().value(paneKey).toString());
    m_pane = bottomPaneFromName(stored).value_or(BottomPane::log);
    m_header->setPane(m_pane);
    m_content->setCurrentWidget(m_pane == BottomPane::chart ? static_cast<QWidget*>(m_chart) : m_output);
}

void BottomPaneView::setPane(BottomPane pane) {
    m_pane = pane;
    QSettings().setValue(paneKey, qtText(name(pane)));
    m_header->setPane(pane);
    m_content->setCurrentWidget(pane == BottomPane::chart ? static_cast<QWidget*>(m_chart) : m_output);
}

}  // namespace tessarin
