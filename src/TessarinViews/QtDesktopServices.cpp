#include "TessarinViews/QtDesktopServices.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <cassert>

namespace tessarin {

namespace {

struct FileTypeFacts {
    FileType type;
    const char16_t* filter;
    const char16_t* suffix;
};

constexpr std::array<FileTypeFacts, 4> fileTypeFacts{{
    {FileType::json, u"JSON (*.json)", u"json"},
    {FileType::plainText, u"TXT (*.txt *.log)", u"txt"},
    {FileType::commaSeparatedText, u"CSV (*.csv)", u"csv"},
    {FileType::tabSeparatedText, u"TSV (*.tsv *.tab)", u"tsv"},
}};

const FileTypeFacts& factsOf(FileType type) {
    const FileTypeFacts& facts = fileTypeFacts[static_cast<std::size_t>(type)];
    assert(facts.type == type);
    return facts;
}

}  // namespace

QString QtDesktopServices::nameFilter(FileType type) {
    return QString::fromUtf16(factsOf(type).filter);
}

QString QtDesktopServices::suffix(FileType type) {
    return QString::fromUtf16(factsOf(type).suffix);
}

QString QtDesktopServices::startFolder() const {
    if (!m_lastFolder.isEmpty() && QFileInfo(m_lastFolder).isDir()) {
        return m_lastFolder;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void QtDesktopServices::rememberFolder(const QString& path) {
    m_lastFolder = QFileInfo(path).absolutePath();
}

std::unique_ptr<QFileDialog> QtDesktopServices::makeOpenPanel(const OpenPanelRequest& request) const {
    auto panel = std::make_unique<QFileDialog>(m_parent, QString(), startFolder());
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    panel->setFileMode(QFileDialog::ExistingFile);
    QStringList filters;
    for (const FileType type : request.allowedTypes) {
        filters << nameFilter(type);
    }
    panel->setNameFilters(filters);
    return panel;
}

std::unique_ptr<QFileDialog> QtDesktopServices::makeSavePanel(const SavePanelRequest& request) const {
    auto panel = std::make_unique<QFileDialog>(m_parent, QString(), startFolder());
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setFileMode(QFileDialog::AnyFile);
    // Folder creation stays allowed: the read-only option is never set.
    panel->setNameFilter(nameFilter(request.type));
    panel->setDefaultSuffix(suffix(request.type));
    panel->selectFile(request.proposedName);
    return panel;
}

std::optional<QString> QtDesktopServices::runOpenPanel(const OpenPanelRequest& request) {
    const auto panel = makeOpenPanel(request);
    if (panel->exec() != QDialog::Accepted || panel->selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = panel->selectedFiles().constFirst();
    rememberFolder(path);
    return path;
}

std::optional<QString> QtDesktopServices::runSavePanel(const SavePanelRequest& request) {
    const auto panel = makeSavePanel(request);
    if (panel->exec() != QDialog::Accepted || panel->selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = panel->selectedFiles().constFirst();
    rememberFolder(path);
    return path;
}

QtDesktopServices::Alert QtDesktopServices::makeAlert(const AlertRequest& request) const {
    assert(request.buttons.size() >= 2 && request.buttons.size() <= 3);
    auto alert = std::make_unique<QMessageBox>(m_parent);
    alert->setIcon(QMessageBox::Warning);
    alert->setText(request.message);
    alert->setInformativeText(request.informativeText);
    // Button roles would let the style reorder them; these alerts promise the caller's order,
    // so every button takes the same role and is added left to right.
    QList<QAbstractButton*> buttons;
    for (const QString& title : request.buttons) {
        buttons << alert->addButton(title, QMessageBox::ActionRole);
    }
    if (!buttons.isEmpty()) {
        alert->setDefaultButton(qobject_cast<QPushButton*>(buttons.constFirst()));
        alert->setEscapeButton(buttons.constLast());
    }
    return {std::move(alert), buttons};
}

AlertResponse QtDesktopServices::Alert::response() const {
    const qsizetype clicked = buttons.indexOf(box->clickedButton());
    const qsizetype index = clicked >= 0 ? clicked : buttons.size() - 1;
    constexpr std::array responses{AlertResponse::first, AlertResponse::second, AlertResponse::third};
    return responses[static_cast<std::size_t>(std::clamp<qsizetype>(index, 0, 2))];
}

AlertResponse QtDesktopServices::runAlert(const AlertRequest& request) {
    const Alert alert = makeAlert(request);
    alert.box->exec();
    return alert.response();
}

void QtDesktopServices::runErrorAlert(const QString& title, const QString& message) {
    QMessageBox alert(m_parent);
    alert.setIcon(QMessageBox::Warning);
    alert.setWindowTitle(title);
    alert.setText(title);
    alert.setInformativeText(message);
    QAbstractButton* ok = alert.addButton(qtText(L10n::Menu::ok()), QMessageBox::AcceptRole);
    alert.setEscapeButton(ok);
    alert.exec();
}

bool QtDesktopServices::runConfirmation(const QString& title, const QString& message,
                                        const QString& destructiveButton) {
    QMessageBox alert(m_parent);
    alert.setIcon(QMessageBox::Warning);
    alert.setWindowTitle(title);
    alert.setText(title);
    alert.setInformativeText(message);
    QAbstractButton* destroy = alert.addButton(destructiveButton, QMessageBox::DestructiveRole);
    QPushButton* cancel = alert.addButton(qtText(L10n::Menu::cancel()), QMessageBox::RejectRole);
    // A stray Return must not destroy anything.
    alert.setDefaultButton(cancel);
    alert.setEscapeButton(cancel);
    alert.exec();
    return alert.clickedButton() == destroy;
}

}  // namespace tessarin
