#pragma once

#include <QString>

#include <gtest/gtest.h>

#include <ostream>

namespace tessarin::test {

// Creates the one QGuiApplication of the test process (offscreen), with settings and data
// folders inside a temporary folder, so that no test touches the user's own files.
void ensureGuiApp();

// The fixture of tests that need nothing but that application.
class GuiTest : public ::testing::Test {
protected:
    void SetUp() override { ensureGuiApp(); }
};

}  // namespace tessarin::test

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
