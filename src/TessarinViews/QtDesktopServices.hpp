#pragma once

#include "TessarinModel/DesktopServices.hpp"

#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class QAbstractButton;
class QFileDialog;

namespace tessarin {

// The model's dialogs as Qt shows them: file panels with the allowed types as name filters,
// alerts whose buttons keep the order the caller gave, and the views' own error alert and
// confirmation. Every dialog is modal to the window set with setParentWindow and returns
// once the user has answered. The make functions build a dialog without showing it, so that
// what each dialog offers can be checked on its own.
class QtDesktopServices final : public DesktopServices {
public:
    void setParentWindow(QWidget* window) { m_parent = window; }

    std::optional<QString> runOpenPanel(const OpenPanelRequest& request) override;
    std::optional<QString> runSavePanel(const SavePanelRequest& request) override;
    AlertResponse runAlert(const AlertRequest& request) override;

    // One button; returns when the user dismissed it.
    void runErrorAlert(const QString& title, const QString& message);
    // The destructive button against Cancel, which is the default; true when confirmed.
    [[nodiscard]] bool runConfirmation(const QString& title, const QString& message, const QString& destructiveButton);

    [[nodiscard]] std::unique_ptr<QFileDialog> makeOpenPanel(const OpenPanelRequest& request) const;
    [[nodiscard]] std::unique_ptr<QFileDialog> makeSavePanel(const SavePanelRequest& request) const;
    // An alert and its buttons in the caller's order.
    struct Alert {
        std::unique_ptr<QMessageBox> box;
        QList<QAbstractButton*> buttons;

        // Which button the user clicked; the last one (the cancelling one by convention) when
        // the alert was closed without a button.
        [[nodiscard]] AlertResponse response() const;
    };
    [[nodiscard]] Alert makeAlert(const AlertRequest& request) const;

    // "JSON (*.json)" and the like: technical names that read the same in every language.
    [[nodiscard]] static QString nameFilter(FileType type);
    [[nodiscard]] static QString suffix(FileType type);

private:
    // Where the last panel was left, so that the next one opens there.
    [[nodiscard]] QString startFolder() const;
    void rememberFolder(const QString& path);

    QPointer<QWidget> m_parent;
    QString m_lastFolder;
};

}  // namespace tessarin
