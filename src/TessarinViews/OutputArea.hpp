#pragma once

#include <QWidget>

class QAction;

namespace tessarin {

class EmptyLogView;
class LogFindBar;
class LogoBackdrop;
class OutputTextView;
class PollerModel;

// The log content of the bottom pane: the log text over the logo backdrop, the find bar
// (Ctrl+F while the log shows) above it, and the how-to-begin panel in its place while the
// log is empty and reading is stopped.
class OutputArea final : public QWidget {
    Q_OBJECT

public:
    explicit OutputArea(PollerModel& model, QWidget* parent = nullptr);

    [[nodiscard]] OutputTextView* textView() const { return m_text; }
    [[nodiscard]] LogFindBar* findBar() const { return m_findBar; }
    [[nodiscard]] EmptyLogView* emptyLogView() const { return m_empty; }
    [[nodiscard]] QAction* findAction() const { return m_find; }
    // Whether the empty-log panel is up, whatever the visibility of the area itself.
    [[nodiscard]] bool showsEmptyLog() const;

private:
    void refreshEmptyLog();

    PollerModel& m_model;
    LogoBackdrop* m_backdrop = nullptr;
    OutputTextView* m_text = nullptr;
    EmptyLogView* m_empty = nullptr;
    LogFindBar* m_findBar = nullptr;
    QAction* m_find = nullptr;
};

}  // namespace tessarin
