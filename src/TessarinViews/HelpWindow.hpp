#pragma once

#include <QWidget>

namespace tessarin {

// The help window ("help"): one instance for the whole run, brought to the front when opened
// again.
class HelpWindow final : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize defaultSize{900, 640};

    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the window, or raises and activates it when it is already open.
    void present();

private:
    // Where the topic list and the topic pages go.
    [[nodiscard]] QWidget* createHelpContent();
};

}  // namespace tessarin
