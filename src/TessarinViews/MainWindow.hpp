#pragma once

#include <QMainWindow>

class QAction;
class QSplitter;

namespace tessarin {

class ConnectionBar;
class DemoDevice;
class FooterBar;
class PollerModel;
class QtDesktopServices;

// The one main window ("poller"): the connection bar, the polls and their table, the bottom
// pane with the log or the chart under a splitter, and the footer; every menu command. It
// holds presentation state only (whether the bottom pane shows, kept in the settings under
// "showLog"); everything else it reads from and hands to the model.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    static constexpr QSize defaultSize{1180, 760};
    static constexpr QSize minimumContentSize{900, 560};
    static constexpr int tableMinimumHeight = 200;
    static constexpr int tableIdealHeight = 380;
    static constexpr int paneMinimumHeight = 140;
    static constexpr int paneIdealHeight = 240;

    MainWindow(PollerModel& model, DemoDevice& demo, QtDesktopServices& services, QWidget* parent = nullptr);

    [[nodiscard]] ConnectionBar* connectionBar() const { return m_connectionBar; }
    [[nodiscard]] FooterBar* footerBar() const { return m_footer; }
    [[nodiscard]] QSplitter* splitter() const { return m_splitter; }
    [[nodiscard]] QWidget* bottomPane() const { return m_bottomPane; }

    // The title the window shows: the address (or the product name without a host) and the
    // reading state, "title — state", since window managers here have no subtitle.
    [[nodiscard]] QString titleText() const;

    [[nodiscard]] bool showLog() const { return m_showLog; }
    void setShowLog(bool on);

    // The menu commands, for tests and for the controls that share them.
    struct Actions {
        QAction* newProject = nullptr;
        QAction* openProject = nullptr;
        QAction* saveProjectAs = nullptr;
        QAction* saveLog = nullptr;
        QAction* importCSV = nullptr;
        QAction* exportCSV = nullptr;
        QAction* quit = nullptr;
        QAction* toggleReading = nullptr;
        QAction* demoDevice = nullptr;
        QAction* addPoll = nullptr;
        QAction* addDatapoint = nullptr;
        QAction* showLog = nullptr;
        QAction* exportHistory = nullptr;
        QAction* clearLog = nullptr;
        QAction* autoscroll = nullptr;
        QAction* timestamps = nullptr;
        QAction* rawFrames = nullptr;
        QAction* onlyProblems = nullptr;
        QAction* help = nullptr;
    };
    [[nodiscard]] const Actions& actions() const { return m_actions; }

Q_SIGNALS:
    void helpRequested();
    void showLogChanged(bool on);

private:
    void buildMenus();
    // Where the poll tabs and the datapoint table go.
    [[nodiscard]] QWidget* createPollArea();
    // Where the log view and the chart go.
    [[nodiscard]] QWidget* createBottomPane();
    void refreshTitle();
    void refreshCommands();
    void refreshLogOptions();
    void showPendingError();

    PollerModel& m_model;
    DemoDevice& m_demo;
    QtDesktopServices& m_services;
    ConnectionBar* m_connectionBar = nullptr;
    FooterBar* m_footer = nullptr;
    QSplitter* m_splitter = nullptr;
    QWidget* m_bottomPane = nullptr;
    Actions m_actions;
    bool m_showLog = false;
    bool m_errorAlertOpen = false;
};

}  // namespace tessarin
