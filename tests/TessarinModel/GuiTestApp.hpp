#pragma once

#include <QString>

namespace tessarin::test {

// Creates the one QGuiApplication of the test process (offscreen), with settings and data
// folders inside a temporary folder, so that no test touches the user's own files.
void ensureGuiApp();

// The temporary home of the test process: settings and the data location live below it.
QString testHome();

}  // namespace tessarin::test
