#include "GuiTestApp.hpp"

#include <QDir>
#include <QGuiApplication>
#include <QSettings>
#include <QTemporaryDir>

namespace tessarin::test {

void prepareTestEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Texts and numbers in the forms the tests spell out.
    qputenv("LANGUAGE", "en");
    qputenv("LC_ALL", "C.UTF-8");
    static QTemporaryDir home;
    const QByteArray root = home.path().toUtf8();
    qputenv("HOME", root);
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_RUNTIME_DIR", root + "/runtime");
    QDir().mkpath(home.path() + QStringLiteral("/runtime"));
    QFile::setPermissions(home.path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       home.path() + QStringLiteral("/config"));
}

void ensureGuiApp() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    prepareTestEnvironment();
    static int argc = 1;
    static char name[] = "TessarinModelTests";
    static char* argv[] = {name, nullptr};
    // Deliberately never destroyed: it must outlive every static of every test.
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    Q_UNUSED(app);
}

}  // namespace tessarin::test
