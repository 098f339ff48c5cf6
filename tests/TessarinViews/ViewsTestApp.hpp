#pragma once

#include "TessarinModel/GuiTestApp.hpp"

#include <gtest/gtest.h>

namespace tessarin::test {

// Creates the one QApplication of the widget tests in the model tests' temporary environment.
void ensureWidgetApp();

// The fixture of widget tests.
class WidgetTest : public ::testing::Test {
protected:
    void SetUp() override { ensureWidgetApp(); }
};

}  // namespace tessarin::test
