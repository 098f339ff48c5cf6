#include "WindowFixture.hpp"

#include "TessarinViews/QtDesktopServices.hpp"

#include <QAbstractButton>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTest>

#include <algorithm>

namespace tessarin::test {
namespace {

using DesktopServicesTest = WindowTest;

QList<QAbstractButton*> buttonsLeftToRight(QWidget* dialog) {
    QList<QAbstractButton*> buttons = dialog->findChildren<QAbstractButton*>();
    buttons.removeIf([](QAbstractButton* button) { return !button->isVisible() || button->text().isEmpty(); });
    std::ranges::sort(buttons, {}, [](QAbstractButton* button) { return button->mapToGlobal(QPoint()).x(); });
    return buttons;
}

TEST_F(DesktopServicesTest, AlertButtonsKeepTheirOrderAndMapBackToTheirPlace) {
    const std::vector<QString> titles{QStringLiteral("Add"), QStringLiteral("Replace"), QStringLiteral("Cancel")};
    const AlertResponse responses[] = {AlertResponse::first, AlertResponse::second, AlertResponse::third};
    for (const std::size_t count : {2U, 3U}) {
        const AlertRequest request{QStringLiteral("Import 3 datapoints?"), QStringLiteral("details"),
                                   std::vector<QString>(titles.begin(), titles.begin() + static_cast<long>(count))};
        for (std::size_t clicked = 0; clicked < count; ++clicked) {
            SCOPED_TRACE(testing::Message() << count << " buttons, clicking " << clicked);
            QStringList shownOrder;
            whenModalOpens([&](QWidget* alert) {
                const QList<QAbstractButton*> buttons = buttonsLeftToRight(alert);
                for (QAbstractButton* button : buttons) {
                    shownOrder << button->text();
                }
                buttons.value(static_cast<qsizetype>(clicked), buttons.constLast())->click();
            });
            EXPECT_EQ(app->services().runAlert(request), responses[clicked]);
            EXPECT_EQ(shownOrder, QStringList(request.buttons.begin(), request.buttons.end()));
        }
        SCOPED_TRACE("Escape");
        whenModalOpens([](QWidget* alert) { QTest::keyClick(alert, Qt::Key_Escape); });
        EXPECT_EQ(app->services().runAlert(request), responses[count - 1]) << "closing is the last button";
    }
}

TEST_F(DesktopServicesTest, AConfirmationDestroysOnlyWhenItsDestructiveButtonIsChosen) {
    struct Row {
        const char* name;
        std::function<void(QWidget*)> answer;
        bool confirmed;
    };
    const Row rows[] = {
        {"remove", [](QWidget* d) { buttonNamed(d, QStringLiteral("Remove"))->click(); }, true},
        {"cancel", [](QWidget* d) { buttonNamed(d, QStringLiteral("Cancel"))->click(); }, false},
        {"return", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Return); }, false},
        {"escape", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        whenModalOpens(row.answer);
        EXPECT_EQ(app->services().runConfirmation(QStringLiteral("Remove poll?"), QStringLiteral("All its datapoints go."),
                                                  QStringLiteral("Remove")),
                  row.confirmed);
    }
}

TEST_F(DesktopServicesTest, FilePanelsOfferTheAllowedTypesAndProposeTheName) {
    const QtDesktopServices& services = app->services();
    const auto open = services.makeOpenPanel({{FileType::json}});
    EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(open->nameFilters(), QStringList{QStringLiteral("JSON (*.json)")});
    const auto import = services.makeOpenPanel({{FileType::commaSeparatedText, FileType::tabSeparatedText}});
    EXPECT_EQ(import->nameFilters(), (QStringList{QStringLiteral("CSV (*.csv)"), QStringLiteral("TSV (*.tsv *.tab)")}));

    struct Row {
        FileType type;
        QString suffix;
    };
    for (const Row& row : {Row{FileType::json, QStringLiteral("json")}, Row{FileType::plainText, QStringLiteral("txt")},
                           Row{FileType::commaSeparatedText, QStringLiteral("csv")}}) {
        SCOPED_TRACE(rawValue(row.type));
        const auto save = services.makeSavePanel({row.type, QStringLiteral("Meter Hall 2.") + row.suffix});
        EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(save->defaultSuffix(), row.suffix);
        EXPECT_FALSE(save->testOption(QFileDialog::ReadOnly)) << "folders can be created";
        ASSERT_EQ(save->selectedFiles().size(), 1);
        EXPECT_TRUE(save->selectedFiles().constFirst().endsWith(QStringLiteral("/Meter Hall 2.") + row.suffix));
    }
}

TEST_F(DesktopServicesTest, ACancelledSavePanelGivesNoPath) {
    whenModalOpens([](QWidget* panel) { qobject_cast<QDialog*>(panel)->reject(); });
    EXPECT_EQ(app->services().runSavePanel({FileType::json, QStringLiteral("project.json")}), std::nullopt);
}

}  // namespace
}  // namespace tessarin::test
