#pragma once

#include <QString>

#include <gtest/gtest.h>

#include <ostream>

namespace tessarin::test {

// Points the platform (offscreen unless set), the texts, the numbers and the settings and data
// folders of the test process into a temporary folder, so that no test touches the user's own
// files. Runs before the process's one application object is made.
void prepareTestEnvironment();

// Creates the one QGuiApplication of the test process in that environment.
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
