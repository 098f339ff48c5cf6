#include "ViewsTestApp.hpp"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

namespace tessarin::test {

void ensureWidgetApp() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
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

    static int argc = 1;
    static char name[] = "TessarinViewsTests";
    static char* argv[] = {name, nullptr};
    // Deliberately never destroyed: it must outlive every static of every test.
    static QApplication* app = new QApplication(argc, argv);
    Q_UNUSED(app);
}

}  // namespace tessarin::test
