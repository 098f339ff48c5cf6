#pragma once

#include <QString>

#include <ostream>

namespace tessarin::test {

// Creates the one QGuiApplication of the test process (offscreen), with settings and data
// folders inside a temporary folder, so that no test touches the user's own files.
void ensureGuiApp();

// The temporary home of the test process: settings and the data location live below it.
QString testHome();

}  // namespace tessarin::test

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
