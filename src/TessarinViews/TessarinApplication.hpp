#pragma once

#include <QObject>

#include <memory>

namespace tessarin {

class HelpWindow;
class MainWindow;
class PollerModel;
class QtDesktopServices;

// The application: the one model for the whole run, the main window and the help window,
// which opens on demand and then lives as long as the application. The process ends when the
// last window closes (help included); before it does, reading stops and the project is
// written at once, exactly one time however the end comes about.
class TessarinApplication final : public QObject {
    Q_OBJECT

public:
    // Needs a QApplication. Reading does not start by itself.
    TessarinApplication();
    ~TessarinApplication() override;

    [[nodiscard]] PollerModel& model() { return *m_model; }
    [[nodiscard]] MainWindow& mainWindow() { return *m_mainWindow; }
    [[nodiscard]] QtDesktopServices& services() { return *m_services; }
    // The help window once it has been opened, else null.
    [[nodiscard]] HelpWindow* helpWindow() const { return m_helpWindow.get(); }

    void showMainWindow();
    void showHelp();

    // Stops reading and writes the autosave; later calls do nothing.
    void prepareForQuit();
    [[nodiscard]] bool preparedForQuit() const { return m_preparedForQuit; }

private:
    std::unique_ptr<QtDesktopServices> m_services;
    std::unique_ptr<PollerModel> m_model;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<HelpWindow> m_helpWindow;
    bool m_preparedForQuit = false;
};

}  // namespace tessarin
