#include "TessarinViews/MainWindow.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/DemoDevice.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/BottomPaneView.hpp"
#include "TessarinViews/ConnectionBar.hpp"
#include "TessarinViews/FooterBar.hpp"
#include "TessarinViews/PollArea.hpp"
#include "TessarinViews/Icons.hpp"
#include "TessarinViews/QtDesktopServices.hpp"
#include "TessarinViews/StateText.hpp"
#include "TessarinViews/Theme.hpp"
#include "TessarinViews/ThemedToggle.hpp"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QMenuBar>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

namespace tessarin {

namespace {

const QString showLogKey = QStringLiteral("showLog");

QFrame* divider(QWidget* parent) {
    // A hairline in the text colour reads in light and dark palettes alike.
    auto* line = new QFrame(parent);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette colours = line->palette();
    colours.setColor(QPalette::Window, Theme::withAlpha(colours.color(QPalette::WindowText), 0.15));
    line->setPalette(colours);
    return line;
}

QAction* command(QMenu* menu, const std::string& text, const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(qtText(text));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

QAction* checkItem(QMenu* menu, const std::string& text) {
    QAction* action = menu->addAction(qtText(text));
    action->setCheckable(true);
    return action;
}

}  // namespace

MainWindow::MainWindow(PollerModel& model, DemoDevice& demo, QtDesktopServices& services, QWidget* parent)
    : QMainWindow(parent), m_model(model), m_demo(demo), m_services(services) {
    setObjectName(QStringLiteral("poller"));
    setWindowIcon(Icons::applicationIcon());
    resize(defaultSize);
    setMinimumSize(minimumContentSize);

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_connectionBar = new ConnectionBar(m_model, content);
    layout->addWidget(m_connectionBar);
    layout->addWidget(divider(content));

    m_splitter = new QSplitter(Qt::Vertical, content);
    m_splitter->setChildrenCollapsible(false);
    QWidget* pollArea = createPollArea();
    pollArea->setMinimumHeight(tableMinimumHeight);
    m_splitter->addWidget(pollArea);
    m_bottomPane = createBottomPane();
    m_bottomPane->setMinimumHeight(paneMinimumHeight);
    m_splitter->addWidget(m_bottomPane);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    layout->addWidget(m_splitter, 1);

    layout->addWidget(divider(content));
    m_footer = new FooterBar(m_model, content);
    layout->addWidget(m_footer);
    setCentralWidget(content);

    buildMenus();

    connect(m_footer->logToggle(), &QPushButton::toggled, this, &MainWindow::setShowLog);
    auto* logShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    connect(logShortcut, &QShortcut::activated, this, [this] { setShowLog(!m_showLog); });

    for (const auto signal : {&PollerModel::hostChanged, &PollerModel::portTextChanged, &PollerModel::stateChanged}) {
        connect(&m_model, signal, this, &MainWindow::refreshTitle);
    }
    for (const auto signal : {&PollerModel::hostChanged, &PollerModel::portTextChanged, &PollerModel::stateChanged,
                              &PollerModel::pollsChanged, &PollerModel::selectedPollIDChanged,
                              &PollerModel::outputIsEmptyChanged}) {
        connect(&m_model, signal, this, &MainWindow::refreshCommands);
    }
    connect(&m_demo, &DemoDevice::runningChanged, this, &MainWindow::refreshCommands);
    for (const auto signal : {&PollerModel::autoscrollChanged, &PollerModel::showTimestampsChanged,
                              &PollerModel::showRawFramesChanged, &PollerModel::logOnlyProblemsChanged}) {
        connect(&m_model, signal, this, &MainWindow::refreshLogOptions);
    }
    // The alert runs its own event loop; showing it from inside the operation that failed
    // would let the user act while that operation is half done.
    connect(&m_model, &PollerModel::errorMessageChanged, this, [this] {
        if (m_model.errorMessage()) {
            QTimer::singleShot(0, this, &MainWindow::showPendingError);
        }
    });

    // The main thread is held while a big file is read or written: say so with the cursor, which
    // the window system shows without the event loop.
    connect(&m_model, &PollerModel::busyChanged, this, [this] {
        if (m_model.busy()) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else if (QApplication::overrideCursor() != nullptr) {
            QApplication::restoreOverrideCursor();
        }
    });

    m_showLog = !QSettings().value(showLogKey, false).toBool();
    setShowLog(!m_showLog);
    refreshTitle();
    refreshCommands();
    refreshLogOptions();
    if (m_model.errorMessage()) {
        QTimer::singleShot(0, this, &MainWindow::showPendingError);
    }
}

QWidget* MainWindow::createPollArea() {
    return new PollArea(m_model, this);
}

QWidget* MainWindow::createBottomPane() {
    return new BottomPaneView(m_model, this);
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(qtText(L10n::Menu::file()));
    Actions& a = m_actions;
    a.newProject = command(file, L10n::Menu::newProject(), QKeySequence(Qt::CTRL | Qt::Key_N));
    a.openProject = command(file, L10n::Menu::openProject(), QKeySequence(Qt::CTRL | Qt::Key_O));
    a.saveProjectAs = command(file, L10n::Menu::saveProject(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    a.saveLog = command(file, L10n::Menu::saveLog(), QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addSeparator();
    a.importCSV = command(file, L10n::Menu::importCSV(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    a.exportCSV = command(file, L10n::Menu::exportCSV(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    file->addSeparator();
    a.quit = command(file, L10n::Menu::quit(), QKeySequence::Quit);
    a.quit->setMenuRole(QAction::QuitRole);

    QMenu* poller = menuBar()->addMenu(qtText(L10n::Menu::poller()));
    a.toggleReading = command(poller, L10n::Header::start(), QKeySequence(Qt::CTRL | Qt::Key_R));
    a.demoDevice = checkItem(poller, L10n::Menu::demoDevice());
    poller->addSeparator();
    a.addPoll = command(poller, L10n::Polls::add(), QKeySequence(Qt::CTRL | Qt::Key_T));
    a.addDatapoint = command(poller, L10n::Table::add(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    poller->addSeparator();
    a.showLog = checkItem(poller, L10n::Footer::showLogMenu());
    a.exportHistory = command(poller, L10n::Pane::exportHistory());
    a.clearLog = command(poller, L10n::Menu::clearLog(), QKeySequence(Qt::CTRL | Qt::Key_K));
    a.autoscroll = checkItem(poller, L10n::Footer::autoscroll());
    a.timestamps = checkItem(poller, L10n::Footer::timestamps());
    a.rawFrames = checkItem(poller, L10n::Footer::rawFrames());
    a.onlyProblems = checkItem(poller, L10n::Footer::onlyProblems());

    QMenu* help = menuBar()->addMenu(qtText(L10n::Menu::help()));
    a.help = command(help, L10n::Help::menuItem());
    a.help->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Question), QKeySequence::HelpContents});

    PollerModel* model = &m_model;
    connect(a.newProject, &QAction::triggered, model, &PollerModel::newProject);
    connect(a.openProject, &QAction::triggered, model, &PollerModel::openProject);
    connect(a.saveProjectAs, &QAction::triggered, model, [model] { model->saveProjectAs(); });
    connect(a.saveLog, &QAction::triggered, model, &PollerModel::saveLog);
    connect(a.importCSV, &QAction::triggered, model, &PollerModel::importDatapointsCSV);
    connect(a.exportCSV, &QAction::triggered, model, &PollerModel::exportDatapointsCSV);
    connect(a.quit, &QAction::triggered, qApp, &QApplication::closeAllWindows, Qt::QueuedConnection);
    connect(a.toggleReading, &QAction::triggered, model, [model] {
        // A shortcut may fire between a change and the refresh of the enabled state.
        if (model->state() != PollerState::stopped || model->canStart()) {
            model->toggleReading();
        }
    });
    connect(a.demoDevice, &QAction::triggered, this, [this] {
        if (m_demo.canToggle()) {
            m_demo.toggle();
        }
        // A demo that could not start leaves the item as it was.
        refreshCommands();
    });
    connect(a.addPoll, &QAction::triggered, model, &PollerModel::addPoll);
    connect(a.addDatapoint, &QAction::triggered, model, [model] { model->addDatapoint(std::nullopt); });
    connect(a.showLog, &QAction::triggered, this, &MainWindow::setShowLog);
    connect(a.exportHistory, &QAction::triggered, model, &PollerModel::exportHistory);
    connect(a.clearLog, &QAction::triggered, model, &PollerModel::clearLog);
    connect(a.autoscroll, &QAction::triggered, model, &PollerModel::setAutoscroll);
    connect(a.timestamps, &QAction::triggered, model, &PollerModel::setShowTimestamps);
    connect(a.rawFrames, &QAction::triggered, model, &PollerModel::setShowRawFrames);
    connect(a.onlyProblems, &QAction::triggered, model, &PollerModel::setLogOnlyProblems);
    connect(a.help, &QAction::triggered, this, &MainWindow::helpRequested);
}

QString MainWindow::titleText() const {
    const QString title = m_model.host().trimmed().isEmpty() ? qtText(L10n::appName()) : m_model.endpointText();
    return title + QStringLiteral(" — ") + StateText::of(m_model.state());
}

void MainWindow::refreshTitle() {
    setWindowTitle(titleText());
}

void MainWindow::refreshCommands() {
    const bool stopped = m_model.state() == PollerState::stopped;
    m_actions.toggleReading->setText(qtText(stopped ? L10n::Header::start() : L10n::Header::stop()));
    m_actions.toggleReading->setEnabled(!stopped || m_model.canStart());
    m_actions.demoDevice->setEnabled(m_demo.canToggle());
    m_actions.demoDevice->setChecked(m_demo.isRunning());
    m_actions.addDatapoint->setEnabled(m_model.selectedPollID().has_value());
    m_actions.saveLog->setEnabled(!m_model.outputIsEmpty());
}

void MainWindow::refreshLogOptions() {
    m_actions.autoscroll->setChecked(m_model.autoscroll());
    m_actions.timestamps->setChecked(m_model.showTimestamps());
    m_actions.rawFrames->setChecked(m_model.showRawFrames());
    m_actions.onlyProblems->setChecked(m_model.logOnlyProblems());
}

void MainWindow::setShowLog(bool on) {
    if (m_showLog == on) {
        return;
    }
    m_showLog = on;
    QSettings().setValue(showLogKey, on);
    m_actions.showLog->setChecked(on);
    m_footer->logToggle()->setChecked(on);
    m_bottomPane->setVisible(on);
    if (on) {
        // Share the space as the ideal heights would, scaled to what there is.
        m_splitter->setSizes({tableIdealHeight, paneIdealHeight});
    }
    Q_EMIT showLogChanged(on);
}

void MainWindow::showPendingError() {
    if (m_errorAlertOpen) {
        return;
    }
    m_errorAlertOpen = true;
    // A new message that arrives while the alert is open is shown after it, not dropped.
    while (const std::optional<QString> message = m_model.errorMessage()) {
        m_services.runErrorAlert(qtText(L10n::Errors::alertTitle()), *message);
        if (m_model.errorMessage() == message) {
            m_model.setErrorMessage(std::nullopt);
        }
    }
    m_errorAlertOpen = false;
}

}  // namespace tessarin
