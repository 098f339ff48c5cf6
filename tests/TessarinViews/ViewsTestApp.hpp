#pragma once

#include <QString>

#include <gtest/gtest.h>

#include <ostream>

namespace tessarin::test {

// Creates the one QApplication of the widget tests (offscreen), with settings and data folders
// inside a temporary folder, so that no test touches the user's own files.
void ensureWidgetApp();

// The fixture of widget tests.
class WidgetTest : public ::testing::Test {
protected:
    void SetUp() override { ensureWidgetApp(); }
};

}  // namespace tessarin::test

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
