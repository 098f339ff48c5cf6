#include "Localization/Language.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/Icons.hpp"
#include "TessarinViews/TessarinApplication.hpp"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Qt's own words (key names in shortcuts, "Strg+R"; the file panels) in the language the
// string table chose; Qt's English stays when its translations are not installed.
void installQtTranslations(QApplication& application) {
    const QString code = tessarin::qtText(tessarin::rawValue(tessarin::currentLanguage()));
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tessarin"));
    QApplication::setApplicationName(QStringLiteral("Tessarin"));
    QApplication::setDesktopFileName(QStringLiteral("org.tessarin.Tessarin"));
    QApplication::setWindowIcon(tessarin::Icons::applicationIcon());
    installQtTranslations(application);

    tessarin::TessarinApplication tessarin;
    tessarin.showMainWindow();
    // A newcomer's first start shows values moving at once: the example project reads from
    // the built-in demo device. Later starts wait for the person's Start, as always.
    tessarin.startDemoOnFirstStart();
    return QApplication::exec();
}
