#pragma once

#include "ViewsTestApp.hpp"

#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/TessarinApplication.hpp"

#include <functional>
#include <memory>

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace tessarin::test {

// A whole application (real dialogs, the model, the main window) on a fresh autosave and
// fresh settings, reading nothing until a test starts it.
class WindowTest : public WidgetTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The next modal dialog, once it is open, is handed to act (which must close it).
    static void whenModalOpens(std::function<void(QWidget*)> act);
    // The dialog's push button with this text, or null.
    [[nodiscard]] static QAbstractButton* buttonNamed(QWidget* dialog, const QString& text);

    // Replaces the field's text as a person would: select everything, delete, type.
    static void retype(QLineEdit* field, const QString& text);

    PollerModel& model() { return app->model(); }
    // Makes the window the active one, so that its shortcuts reach it.
    [[nodiscard]] bool activateMainWindow();

    std::unique_ptr<TessarinApplication> app;
};

}  // namespace tessarin::test
