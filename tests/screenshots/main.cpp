// Draws the main window in the states a newcomer meets first, for the README and the
// AppStream metainfo: tessarin-screenshots <folder> <suffix> [dark]. The language comes from
// LANGUAGE as in the application; scripts/screenshots runs it under a virtual display.
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/ConnectionBar.hpp"
#include "TessarinViews/ConnectionSettingsPopover.hpp"
#include "TessarinViews/FooterBar.hpp"
#include "TessarinViews/LogOptionsPopover.hpp"
#include "TessarinViews/MainWindow.hpp"
#include "TessarinViews/TessarinApplication.hpp"
#include "support/PeerProcess.hpp"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QTest>

#include <cstdio>

namespace {

using namespace tessarin;

QPalette darkPalette() {
    QPalette p;
    const QColor window(0x2b, 0x2b, 0x2e);
    const QColor base(0x1e, 0x1e, 0x20);
    const QColor text(0xea, 0xea, 0xec);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3e));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(0x8e, 0x8e, 0x93));
    p.setColor(QPalette::Highlight, QColor(0x00, 0x81, 0x84));
    p.setColor(QPalette::HighlightedText, Qt::white);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, QColor(0x7a, 0x7a, 0x7e));
    }
    return p;
}

// The window with an open popover drawn where it stands on the screen.
QImage capture(QWidget& window, QWidget* popover = nullptr) {
    QCoreApplication::processEvents();
    QImage image = window.grab().toImage();
    if (popover != nullptr && popover->isVisible()) {
        const QPoint at = window.mapFromGlobal(popover->pos());
        const QRect needed = QRect(QPoint(), image.size()).united(QRect(at, popover->size()));
        QImage canvas(needed.size(), QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        painter.drawImage(-needed.topLeft(), image);
        painter.drawPixmap(at - needed.topLeft(), popover->grab());
        painter.end();
        image = canvas;
    }
    return image;
}

bool save(const QImage& image, const QString& folder, const QString& name, const QString& suffix) {
    const QString path = folder + u'/' + name + u'-' + suffix + QStringLiteral(".png");
    const bool saved = image.save(path);
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: tessarin-screenshots <folder> <suffix> [dark]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString suffix = QString::fromLocal8Bit(argv[2]);
    if (argc > 3 && qstrcmp(argv[3], "dark") == 0) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(darkPalette());
    }

    TessarinApplication tessarin;
    MainWindow& window = tessarin.mainWindow();
    window.resize(MainWindow::defaultSize);
    tessarin.showMainWindow();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window never showed\n");
        return 1;
    }
    bool ok = save(capture(window), folder, QStringLiteral("first-start"), suffix);

    auto peer = test::PeerProcess::start(test::PeerKind::libmodbusTCP);
    if (!peer) {
        std::fprintf(stderr, "%s\n", peer.error().c_str());
        return 1;
    }
    PollerModel& model = tessarin.model();
    model.setHost(QStringLiteral("127.0.0.1"));
    model.setPortText(QString::number(peer->port()));
    window.setShowLog(true);
    model.start();
    if (!QTest::qWaitFor([&] { return model.statistics().responses >= 5; }, 20'000)) {
        std::fprintf(stderr, "the peer never answered\n");
        ok = false;
    }
    ok = save(capture(window), folder, QStringLiteral("reading"), suffix) && ok;

    ConnectionBar& bar = *window.connectionBar();
    bar.openSettings();
    ok = save(capture(window, bar.settingsPopover()), folder, QStringLiteral("settings"), suffix) && ok;
    bar.settingsPopover()->close();

    FooterBar& footer = *window.footerBar();
    footer.openLogOptions();
    ok = save(capture(window, footer.logOptions()), folder, QStringLiteral("log-options"), suffix) && ok;
    footer.logOptions()->close();

    tessarin.prepareForQuit();
    return ok ? 0 : 1;
}
