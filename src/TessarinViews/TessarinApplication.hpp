#pragma once

#include <QObject>

#include <memory>

namespace tessarin {

class DemoDevice;
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
    Q_DISABLE_COPY_MOVE(TessarinApplication)

public:
    // Needs a QApplication. Reading does not start by itself.
    TessarinApplication();
    ~TessarinApplication() override;

    [[nodiscard]] PollerModel& model() { return *m_model; }
    [[nodiscard]] DemoDevice& demoDevice() { return *m_demo; }
    [[nodiscard]] MainWindow& mainWindow() { return *m_mainWindow; }
    [[nodiscard]] QtDesktopServices& services() { return *m_services; }
    // The help window once it has been opened, else null.
    [[nodiscard]] HelpWindow* helpWindow() const { return m_helpWindow.get(); }

    void showMainWindow();

    // Whether no autosave file was there when the application was created: the person has
    // never used it on this account, and sees the example project.
    [[nodiscard]] bool firstStart() const { return m_firstStart; }
    // On a first start, reads the example project from the demo device so that values move
    // at once; later starts wait for the person, as they always did. True when it started.
    bool startDemoOnFirstStart();
    void showHelp();

    // Stops reading and writes the autosave; later calls do nothing.
    void prepareForQuit();
    [[nodiscard]] bool preparedForQuit() const { return m_preparedForQuit; }

private:
    std::unique_ptr<QtDesktopServices> m_services;
    std::unique_ptr<PollerModel> m_model;
    // Before the window, which binds to it; after the model, which it drives.
    std::unique_ptr<DemoDevice> m_demo;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<HelpWindow> m_helpWindow;
    bool m_firstStart = false;
    bool m_preparedForQuit = false;
};

}  // namespace tessarin
