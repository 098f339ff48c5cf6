#pragma once

// Qt first: moc cannot parse the <concepts> that Uuid.hpp pulls in unless Qt came before.
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include "ModbusCore/Uuid.hpp"

#include <array>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QMenu;
class QScrollArea;
class QToolButton;

namespace tessarin {

class PollTab;
class PollerModel;
struct Poll;

// The row of poll tabs with the selected poll's name, interval and on/off switch. Tabs show
// each poll's health while reading; their menu duplicates a poll or removes it after asking.
class PollTabBar final : public QWidget {
    Q_OBJECT

public:
    // The intervals a poll may be given in the picker, in milliseconds.
    static constexpr std::array<int, 9> intervalsMs{100, 250, 500, 1000, 2000, 5000, 10000, 30000, 60000};

    explicit PollTabBar(PollerModel& model, QWidget* parent = nullptr);

    [[nodiscard]] std::vector<PollTab*> tabs() const { return m_tabs; }
    [[nodiscard]] QLineEdit* nameField() const { return m_name; }
    [[nodiscard]] QComboBox* intervalPicker() const { return m_interval; }
    [[nodiscard]] QCheckBox* activeToggle() const { return m_active; }
    [[nodiscard]] QToolButton* newPollButton() const { return m_newPoll; }
    // The question asked before a poll is removed, while it is open.
    [[nodiscard]] QMessageBox* removeConfirmation() const { return m_confirmation; }

    // The tab's menu, built for the poll; shown on right-click.
    [[nodiscard]] QMenu* makeTabMenu(const Uuid& pollID, QWidget* parent);
    void confirmRemoval(const Uuid& pollID);

Q_SIGNALS:
    // Someone is about to change polls from here: the table commits its open editor first.
    void aboutToEdit();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitScrollHeight();
    void rebuildTabs();
    void refreshLooks();
    void scheduleLookRefresh();
    void refreshSettings();
    [[nodiscard]] QColor dotColor(const Poll& poll) const;

    PollerModel& m_model;
    QScrollArea* m_scroll;
    QWidget* m_tabRow;
    QHBoxLayout* m_tabLayout;
    std::vector<PollTab*> m_tabs;
    QToolButton* m_newPoll;
    QWidget* m_settings;
    QLineEdit* m_name;
    QComboBox* m_interval;
    QCheckBox* m_active;
    QPointer<QMessageBox> m_confirmation;
    std::optional<Uuid> m_confirmDelete;
    bool m_lookRefreshPending = false;
};

}  // namespace tessarin
