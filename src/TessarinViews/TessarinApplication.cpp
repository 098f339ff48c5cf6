#include "TessarinViews/TessarinApplication.hpp"

#include "TessarinModel/DemoDevice.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/HelpWindow.hpp"
#include "TessarinViews/MainWindow.hpp"
#include "TessarinViews/QtDesktopServices.hpp"
#include "TessarinViews/TessarinStyle.hpp"

#include <QApplication>
#include <QFile>
#include <QThread>

#include <cassert>

namespace tessarin {

namespace {

// Without a place for the autosave nothing is ever remembered, and every start would count as
// the first: those starts wait for the person instead.
bool noAutosaveYet() {
    const std::optional<QString> path = PollerModel::autosavePath();
    return path && !QFile::exists(*path);
}

}  // namespace

TessarinApplication::TessarinApplication()
    : m_services(std::make_unique<QtDesktopServices>()),
      m_model(std::make_unique<PollerModel>(*m_services)),
      m_demo(std::make_unique<DemoDevice>(*m_model)),
      m_mainWindow(std::make_unique<MainWindow>(*m_model, *m_demo, *m_services)),
      m_firstStart(noAutosaveYet()) {
    assert(QApplication::instance() != nullptr);
    TessarinStyle::install();
    m_services->setParentWindow(m_mainWindow.get());
    connect(m_mainWindow.get(), &MainWindow::helpRequested, this, &TessarinApplication::showHelp);
    // Qt ends the event loop once the last window is closed; this runs before it returns.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &TessarinApplication::prepareForQuit);
}

TessarinApplication::~TessarinApplication() {
    // An end without the event loop's notice (an exception, a test) still keeps the edits.
    prepareForQuit();
}

void TessarinApplication::showMainWindow() {
    m_mainWindow->show();
}

bool TessarinApplication::startDemoOnFirstStart() {
    return m_firstStart && m_demo->start();
}

void TessarinApplication::showHelp() {
    if (!m_helpWindow) {
        m_helpWindow = std::make_unique<HelpWindow>();
    }
    m_helpWindow->present();
}

void TessarinApplication::prepareForQuit() {
    assert(QThread::currentThread() == thread());
    if (m_preparedForQuit) {
        return;
    }
    m_preparedForQuit = true;
    // Ending the demo gives the address back before the autosave keeps it; the demo's port
    // means nothing at the next start.
    m_demo->stop();
    m_model->prepareForQuit();
}

}  // namespace tessarin
