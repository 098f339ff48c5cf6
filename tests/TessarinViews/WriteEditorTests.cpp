#include "PollAreaFixture.hpp"

#include "TessarinViews/DatapointDelegate.hpp"
#include "TessarinViews/DatapointTableView.hpp"
#include "TessarinViews/WriteEditor.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace tessarin::test {
namespace {

class WriteEditorTest : public PollAreaFixture {
protected:
    // Clicks the pencil of the row's value cell, as a person would.
    WriteEditor* clickPencil(int row) {
        DatapointTableView& view = area->table();
        const QRect cell = view.visualRect(this->cell(row, DatapointColumn::value));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, DatapointDelegate::pencilRect(cell).center());
        return area->writeEditor();
    }
};

TEST_F(WriteEditorTest, TypedTextIsCheckedByTheDatapointBeforeAnythingIsSent) {
    struct Row {
        DataType type;
        const char* typed;
        std::optional<double> sent;
    };
    const std::vector<Row> rows{
        {DataType::int16, "0xFFFF", -1},     {DataType::int16, "40000", std::nullopt},
        {DataType::uint16, "0b101", 5},      {DataType::uint16, "", std::nullopt},
        {DataType::float32, "1,5", 1.5},     {DataType::uint32, "-1", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        std::vector<double> sent;
        WriteEditor editor(holdingRegister(3, row.type, "Setpoint"), std::nullopt,
                           [&](double value) { sent.push_back(value); });
        ASSERT_NE(editor.field(), nullptr);
        EXPECT_TRUE(editor.field()->text().isEmpty());
        QTest::keyClicks(editor.field(), QString::fromUtf8(row.typed));
        QTest::keyClick(editor.field(), Qt::Key_Return);
        EXPECT_EQ(sent, row.sent ? std::vector{*row.sent} : std::vector<double>{});
        EXPECT_EQ(editor.invalid(), !row.sent);
        if (!row.sent && *row.typed != 0) {
            EXPECT_EQ(editor.caption()->text().contains(QStringLiteral("does not fit")), true);
            // Correcting the text takes the complaint back until the next try.
            QTest::keyClick(editor.field(), Qt::Key_Backspace);
            EXPECT_FALSE(editor.invalid());
        }
    }
}

TEST_F(WriteEditorTest, TheRejectionNamesTheType) {
    WriteEditor editor(holdingRegister(3, DataType::int16), 12.0, [](double) { FAIL() << "nothing is sent"; });
    EXPECT_EQ(editor.field()->text(), QStringLiteral("12"));
    editor.field()->setText(QStringLiteral("40000"));
    editor.findChild<QPushButton*>(QStringLiteral("write"))->click();
    EXPECT_EQ(editor.caption()->text(), QStringLiteral("This value does not fit in Int16."));
}

TEST_F(WriteEditorTest, TheTablesPencilWritesThroughTheModel) {
    makeArea({pollWith({coil(7, "Pump"), holdingRegister(1, DataType::int16, "Setpoint")})});
    // Stopped: the model refuses and says how to go on.
    WriteEditor* editor = clickPencil(1);
    ASSERT_NE(editor, nullptr);
    editor->field()->setText(QStringLiteral("0xFFFF"));
    editor->submit();
    ASSERT_TRUE(model->writeError());
    EXPECT_TRUE(model->writeError()->startsWith(QStringLiteral("Start reading first")));
    model->setWriteError(std::nullopt);

    startReading();
    editor = clickPencil(1);
    ASSERT_NE(editor, nullptr);
    editor->field()->setText(QStringLiteral("40000"));
    editor->submit();
    EXPECT_TRUE(model->pendingWrites().empty());
    editor->field()->setText(QStringLiteral("0xFFFF"));
    editor->submit();
    ASSERT_EQ(model->pendingWrites().size(), 1U);
    EXPECT_EQ(model->pendingWrites().begin()->second.value, -1);

    editor = clickPencil(0);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->field(), nullptr);
    editor->findChild<QPushButton*>(QStringLiteral("on"))->click();
    ASSERT_EQ(model->pendingWrites().size(), 2U);
    const auto coilWrite = std::ranges::find_if(model->pendingWrites(), [&](const auto& entry) {
        return entry.second.pointID == poll().datapoints[0].id;
    });
    ASSERT_NE(coilWrite, model->pendingWrites().end());
    EXPECT_EQ(coilWrite->second.value, 1);
}

TEST_F(WriteEditorTest, ReadOnlyTablesOfferNoPencil) {
    Datapoint input = holdingRegister(2, DataType::uint16, "Input");
    input.setTable(RegisterTable::inputRegister);
    makeArea({pollWith({input})});
    EXPECT_EQ(clickPencil(0), nullptr);
}

}  // namespace
}  // namespace tessarin::test
