#include "TessarinViews/DatapointToolbar.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/Icons.hpp"

#include <QHBoxLayout>
#include <QMenu>
#include <QToolButton>

namespace tessarin {

namespace {

// symbol: the name of the drawing beside the text; empty for a text-only button.
QToolButton* makeButton(QWidget* parent, const QString& text, QStringView symbol = {}) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setAutoRaise(true);
    if (!symbol.isEmpty()) {
        // In the palette's text colour, and its disabled colour while there is no selection.
        button->setIcon(Icons::symbolIcon(symbol, parent->palette()));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    return button;
}

}  // namespace

DatapointToolbar::DatapointToolbar(QWidget* parent)
    : QWidget(parent),
      m_project(makeButton(this, qtText(L10n::Project::menu()))),
      m_add(makeButton(this, qtText(L10n::Table::add()), u"plus")),
      m_duplicate(makeButton(this, qtText(L10n::Table::duplicate()), u"plus.square.on.square")),
      m_delete(makeButton(this, qtText(L10n::Table::delete_()), u"trash")),
      m_csv(makeButton(this, qtText(L10n::Table::csv()), u"tablecells")) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 2, 8, 2);
    row->setSpacing(4);

    auto* project = new QMenu(this);
    connect(project->addAction(qtText(L10n::Menu::newProject())), &QAction::triggered, this,
            &DatapointToolbar::newProjectRequested);
    connect(project->addAction(qtText(L10n::Menu::openProject())), &QAction::triggered, this,
            &DatapointToolbar::openProjectRequested);
    connect(project->addAction(qtText(L10n::Menu::saveProject())), &QAction::triggered, this,
            &DatapointToolbar::saveProjectRequested);
    m_project->setMenu(project);
    m_project->setPopupMode(QToolButton::InstantPopup);
    m_project->setToolTip(qtText(L10n::Project::menuHelp()));
    row->addWidget(m_project);
    row->addSpacing(8);

    m_add->setToolTip(qtText(L10n::Table::addHelp()));
    connect(m_add, &QToolButton::clicked, this, &DatapointToolbar::addRequested);
    row->addWidget(m_add);
    connect(m_duplicate, &QToolButton::clicked, this, &DatapointToolbar::duplicateRequested);
    row->addWidget(m_duplicate);
    connect(m_delete, &QToolButton::clicked, this, &DatapointToolbar::deleteRequested);
    row->addWidget(m_delete);
    row->addStretch(1);

    auto* csv = new QMenu(this);
    connect(csv->addAction(qtText(L10n::Menu::importCSV())), &QAction::triggered, this,
            &DatapointToolbar::importRequested);
    connect(csv->addAction(qtText(L10n::Menu::exportCSV())), &QAction::triggered, this,
            &DatapointToolbar::exportRequested);
    m_csv->setMenu(csv);
    m_csv->setPopupMode(QToolButton::InstantPopup);
    m_csv->setToolTip(qtText(L10n::Table::csvHelp()));
    row->addWidget(m_csv);
    setHasSelection(false);
}

void DatapointToolbar::setHasSelection(bool hasSelection) {
    m_duplicate->setEnabled(hasSelection);
    m_delete->setEnabled(hasSelection);
}

}  // namespace tessarin
