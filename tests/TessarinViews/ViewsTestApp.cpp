#include "ViewsTestApp.hpp"

#include <QApplication>

namespace tessarin::test {

void ensureWidgetApp() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    prepareTestEnvironment();
    static int argc = 1;
    static char name[] = "TessarinViewsTests";
    static char* argv[] = {name, nullptr};
    // Deliberately never destroyed: it must outlive every static of every test.
    static QApplication* app = new QApplication(argc, argv);
    Q_UNUSED(app);
}

}  // namespace tessarin::test
