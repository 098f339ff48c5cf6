#include "WindowFixture.hpp"

#include "TessarinViews/MainWindow.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QTest>
#include <QTimer>

namespace tessarin::test {

void WindowTest::SetUp() {
    WidgetTest::SetUp();
    QSettings().clear();
    if (const auto path = PollerModel::autosavePath()) {
        QFile::remove(*path);
    }
    app = std::make_unique<TessarinApplication>();
}

void WindowTest::TearDown() {
    app.reset();
}

void WindowTest::whenModalOpens(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act = std::move(act)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}

QAbstractButton* WindowTest::buttonNamed(QWidget* dialog, const QString& text) {
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

void WindowTest::retype(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

bool WindowTest::activateMainWindow() {
    MainWindow& window = app->mainWindow();
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

}  // namespace tessarin::test
