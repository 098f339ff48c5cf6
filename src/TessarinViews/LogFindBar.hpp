#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace tessarin {

class OutputTextView;
class ThemedButton;

// The log's find bar: a search field that finds as the user types, Next (Return) and
// Previous (Shift+Return), "Not found" when the log has no match, and Done (Escape), which
// closes the bar and hands the keyboard back to the log.
class LogFindBar final : public QWidget {
    Q_OBJECT

public:
    // view must outlive the bar.
    explicit LogFindBar(OutputTextView& view, QWidget* parent = nullptr);

    // Shows the bar with its text selected, ready for typing.
    void open();
    void dismiss();

    [[nodiscard]] QLineEdit* field() const { return m_field; }
    [[nodiscard]] ThemedButton* nextButton() const { return m_next; }
    [[nodiscard]] ThemedButton* previousButton() const { return m_previous; }
    [[nodiscard]] ThemedButton* doneButton() const { return m_done; }
    [[nodiscard]] bool showsNotFound() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void find(bool backward, bool incremental);

    OutputTextView& m_view;
    QLineEdit* m_field = nullptr;
    ThemedButton* m_previous = nullptr;
    ThemedButton* m_next = nullptr;
    QLabel* m_notFound = nullptr;
    ThemedButton* m_done = nullptr;
};

}  // namespace tessarin
