#include "TessarinViews/HelpWindow.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/HelpView.hpp"
#include "TessarinViews/Icons.hpp"

#include <QVBoxLayout>

namespace tessarin {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("help"));
    setWindowTitle(qtText(L10n::Help::windowTitle()));
    setWindowIcon(Icons::applicationIcon());
    resize(defaultSize);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(createHelpContent());
}

QWidget* HelpWindow::createHelpContent() {
    return new HelpView(this);
}

void HelpWindow::present() {
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    show();
    raise();
    activateWindow();
}

}  // namespace tessarin
