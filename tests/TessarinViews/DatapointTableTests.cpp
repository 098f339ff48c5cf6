#include "PollAreaFixture.hpp"

#include "TessarinViews/DatapointTableModel.hpp"
#include "TessarinViews/DatapointTableView.hpp"
#include "TessarinViews/DatapointToolbar.hpp"
#include "TessarinViews/Icons.hpp"
#include "TessarinViews/PointPresentation.hpp"
#include "TessarinViews/Theme.hpp"
#include "support/DarkPalette.hpp"
#include "support/PixelCounts.hpp"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QSignalSpy>
#include <QTest>

#include <array>

namespace tessarin::test {
namespace {

using Column = DatapointColumn;

class DatapointTable : public PollAreaFixture {
protected:
    DatapointTableModel& table() const { return area->tableModel(); }
    bool enabled(int row, Column column) const {
        const bool editable = cell(row, column).flags().testFlag(Qt::ItemIsEditable);
        EXPECT_EQ(editable, cell(row, column).data(DatapointTableModel::appliesRole).toBool());
        return editable;
    }
    Tone tone(int row, Column column) const {
        return static_cast<Tone>(cell(row, column).data(DatapointTableModel::toneRole).toInt());
    }
};

TEST_F(DatapointTable, CellEditsReachTheModelAndBadTextChangesNothing) {
    makeArea({pollWith({holdingRegister(10, DataType::float32, "Flow")})});
    QSignalSpy rejected(&table(), &DatapointTableModel::inputRejected);
    struct Row {
        Column column;
        QVariant typed;
        bool taken;
    };
    const std::vector<Row> rows{
        {Column::name, QStringLiteral("Setpoint"), true},  {Column::unitID, QStringLiteral(" 255 "), true},
        {Column::unitID, QStringLiteral("256"), false},     {Column::unitID, QStringLiteral("-1"), false},
        {Column::address, QStringLiteral("65535"), true},   {Column::address, QStringLiteral("70000"), false},
        {Column::address, QStringLiteral("12a"), false},    {Column::scale, QStringLiteral("0,5"), true},
        {Column::scale, QStringLiteral("x"), false},        {Column::unit, QStringLiteral("°C"), true},
        {Column::description, QStringLiteral("pump"), true}, {Column::wordOrder, 1, true},
        {Column::format, 99, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed.toString().toStdString() + " in column " + std::to_string(columnIndex(row.column)));
        const Poll before = poll();
        const int rejections = static_cast<int>(rejected.size());
        EXPECT_EQ(table().setData(cell(0, row.column), row.typed, Qt::EditRole), row.taken);
        if (!row.taken) {
            EXPECT_EQ(poll(), before);
        }
        const bool textRow = row.typed.typeId() == QMetaType::QString;
        EXPECT_EQ(static_cast<int>(rejected.size()), rejections + (textRow && !row.taken ? 1 : 0));
    }
    const Datapoint& point = poll().datapoints.front();
    EXPECT_EQ(point.name, "Setpoint");
    EXPECT_EQ(point.unitID, 255);
    EXPECT_EQ(point.address, 65535);
    EXPECT_EQ(point.scale, 0.5);
    EXPECT_EQ(point.engineeringUnit, "°C");
    EXPECT_EQ(point.notes, "pump");
    EXPECT_EQ(point.wordOrder, WordOrder::cdab);
    EXPECT_EQ(rejected.last().at(1).toString(), QStringLiteral("invalid number 'x'"));
}

TEST_F(DatapointTable, CellsThatMeanNothingForTheTypeAreDisabled) {
    makeArea({pollWith({holdingRegister(0, DataType::uint32)})});
    struct Row {
        const char* name;
        Column column;
        int choice;
        bool type, order, scale;
    };
    const std::vector<Row> rows{
        {"coil", Column::table, static_cast<int>(RegisterTable::coil), false, false, false},
        {"back to holding", Column::table, static_cast<int>(RegisterTable::holdingRegister), true, false, true},
        {"float32", Column::dataType, static_cast<int>(DataType::float32), true, true, true},
        {"int16", Column::dataType, static_cast<int>(DataType::int16), true, false, true},
        {"discrete input", Column::table, static_cast<int>(RegisterTable::discreteInput), false, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(table().setData(cell(0, row.column), row.choice, Qt::EditRole));
        EXPECT_EQ(enabled(0, Column::dataType), row.type);
        EXPECT_EQ(enabled(0, Column::wordOrder), row.order);
        EXPECT_EQ(enabled(0, Column::scale), row.scale);
    }
    EXPECT_EQ(poll().datapoints.front().dataType, DataType::bool_);
    // A type the table cannot hold is not taken, even when sent without the picker.
    EXPECT_FALSE(table().setData(cell(0, Column::dataType), static_cast<int>(DataType::int16), Qt::EditRole));
}

TEST_F(DatapointTable, ABitHoldingRegisterKeepsItsTypeThroughOtherEdits) {
    makeArea({pollWith({holdingRegister(4, DataType::bool_, "Alarm")})});
    const auto typePicks = DatapointTableModel::choices(Column::dataType, poll().datapoints.front());
    EXPECT_EQ(typePicks.size(), allDataTypes.size());
    for (const auto& [column, typed] : std::vector<std::pair<Column, QVariant>>{
             {Column::name, QStringLiteral("Alarm 2")}, {Column::address, QStringLiteral("5")},
             {Column::format, static_cast<int>(DisplayFormat::hex)}}) {
        ASSERT_TRUE(table().setData(cell(0, column), typed, Qt::EditRole));
        EXPECT_EQ(poll().datapoints.front().dataType, DataType::bool_);
    }
}

TEST_F(DatapointTable, ReadsRedrawOnlyTheirRowsWhileEditsKeepRowsAndTheModelStaysConsistent) {
    std::vector<Datapoint> points;
    for (std::uint16_t a = 0; a < 6; ++a) points.push_back(holdingRegister(a));
    points[4].address = 40;
    points[5].address = 41;
    makeArea({pollWith(points), pollWith({}, "Other")});
    QAbstractItemModelTester tester(&table(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    startReading();
    QSignalSpy changed(&table(), &QAbstractItemModel::dataChanged);
    QSignalSpy resets(&table(), &QAbstractItemModel::modelReset);

    // Both reads are gathered into one redraw, one range per run of neighbouring rows.
    deliver(readOK(poll(), {.address = 0, .count = 2}, {7, 8}));
    deliver(readOK(poll(), {.address = 40, .count = 2}, {9, 10}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return changed.size() >= 2; }));
    ASSERT_EQ(changed.size(), 2);
    EXPECT_EQ(changed[0].at(0).toModelIndex().row(), 0);
    EXPECT_EQ(changed[0].at(1).toModelIndex().row(), 1);
    EXPECT_EQ(changed[1].at(0).toModelIndex().row(), 4);
    EXPECT_EQ(changed[1].at(0).toModelIndex().column(), columnIndex(Column::value));
    EXPECT_EQ(changed[1].at(1).toModelIndex().column(), columnIndex(Column::status));
    EXPECT_EQ(text(5, Column::value), QStringLiteral("10"));
    // A read that shows the same texts again redraws nothing; only the row that changed goes.
    deliver(readOK(poll(), {.address = 0, .count = 2}, {7, 8}));
    deliver(readOK(poll(), {.address = 40, .count = 2}, {9, 11}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return changed.size() >= 3; }));
    EXPECT_EQ(changed[2].at(0).toModelIndex().row(), 5);
    EXPECT_EQ(changed[2].at(1).toModelIndex().row(), 5);
    EXPECT_EQ(text(5, Column::status), QStringLiteral("OK · 12 ms"));
    EXPECT_EQ(text(2, Column::status), QStringLiteral("Waiting…"));

    area->table().selectIDs({poll().datapoints[3].id});
    area->addDatapoint();
    EXPECT_EQ(table().rowCount(), 7);
    EXPECT_EQ(area->table().selectedIDs(), std::set{poll().datapoints[4].id});
    area->table().selectIDs({poll().datapoints[0].id, poll().datapoints[1].id});
    area->duplicateSelection();
    area->table().selectIDs({poll().datapoints[2].id});
    area->deleteSelection();
    EXPECT_EQ(resets.size(), 0);
    EXPECT_EQ(text(0, Column::value), QStringLiteral("7"));

    model->setSelectedPollID(poll(1).id);
    EXPECT_TRUE(area->showsEmptyView());
    model->setSelectedPollID(poll(0).id);
    EXPECT_FALSE(area->showsEmptyView());
    model->stop();
    EXPECT_EQ(text(2, Column::status), QStringLiteral("—"));
}

TEST_F(DatapointTable, AFailedReadKeepsTheValueQuietAndNamesTheFailure) {
    Datapoint temperature = holdingRegister(0, DataType::int16);
    temperature.scale = 0.1;
    temperature.engineeringUnit = "°C";
    makeArea({pollWith({temperature, holdingRegister(5)})});
    startReading();
    EXPECT_EQ(tone(0, Column::value), Tone::tertiary);
    deliver(readOK(poll(), {.address = 0, .count = 1}, {0x00D7}));
    EXPECT_EQ(text(0, Column::value), QStringLiteral("21.5 °C"));
    EXPECT_EQ(tone(0, Column::value), Tone::primary);
    EXPECT_EQ(cell(0, Column::value).data(Qt::ToolTipRole).toString(), QStringLiteral("Raw registers: 00D7"));
    EXPECT_TRUE(cell(0, Column::status).data(Qt::ToolTipRole).toString().startsWith(QStringLiteral("Last read at ")));

    struct Row {
        PollFailure failure;
        QString text;
        Tone tone;
    };
    for (const Row& row : {Row{PollFailure::timeout(), QStringLiteral("No response"), Tone::red},
                           Row{PollFailure::exception(2), QStringLiteral("Exception 02"), Tone::orange},
                           Row{PollFailure::crcMismatch(), QStringLiteral("CRC error"), Tone::red}}) {
        SCOPED_TRACE(row.text.toStdString());
        deliver(readFailed(poll(), {.address = 0, .count = 1}, row.failure));
        EXPECT_EQ(text(0, Column::value), QStringLiteral("21.5 °C"));
        EXPECT_EQ(tone(0, Column::value), Tone::secondary);
        EXPECT_EQ(text(0, Column::status), row.text);
        EXPECT_EQ(tone(0, Column::status), row.tone);
        EXPECT_EQ(cell(0, Column::status).data(DatapointTableModel::symbolRole).toString(),
                  QStringLiteral("exclamationmark.triangle.fill"));
    }
    // Failing before any good read: nothing to keep.
    deliver(readFailed(poll(), {.address = 5, .count = 1}, PollFailure::timeout()));
    EXPECT_EQ(text(1, Column::value), QStringLiteral("—"));
    EXPECT_EQ(tone(1, Column::value), Tone::tertiary);
}

TEST_F(DatapointTable, TheStatusSymbolKeepsItsSignalColourOnASelectedRow) {
    makeArea({pollWith({holdingRegister(0), holdingRegister(1), holdingRegister(2)})});
    startReading();
    deliver(readOK(poll(), {.address = 0, .count = 1}, {1}));
    deliver(readFailed(poll(), {.address = 1, .count = 1}, PollFailure::exception(2)));
    deliver(readFailed(poll(), {.address = 2, .count = 1}, PollFailure::timeout()));
    DatapointTableView& view = area->table();
    struct Row {
        int row;
        Tone tone;
        bool selected;
    };
    for (const Row& row : {Row{0, Tone::green, false}, Row{1, Tone::orange, false}, Row{2, Tone::red, false},
                           Row{0, Tone::green, true}, Row{2, Tone::red, true}}) {
        SCOPED_TRACE(::testing::Message() << "row " << row.row << (row.selected ? ", selected" : ""));
        if (row.selected) {
            view.selectRow(row.row);
        } else {
            view.clearSelection();
        }
        const QImage shot = view.viewport()->grab().toImage();
        const QRect cellRect = view.visualRect(cell(row.row, Column::status));
        ASSERT_TRUE(view.viewport()->rect().contains(cellRect));
        // The symbol sits at the leading edge, before the text.
        const QRect symbolArea(cellRect.left(), cellRect.top(), cellRect.height(), cellRect.height());
        EXPECT_GT(pixelsNear(shot, symbolArea, toneColor(row.tone, view.palette())), 40);
    }
}

TEST_F(DatapointTable, ChartBoxesReadOnLightAndDarkRowsAndAClickTicksThem) {
    Poll shown = pollWith({holdingRegister(0), holdingRegister(1)});
    shown.plotted = {shown.datapoints.front().id};
    makeArea({shown});
    DatapointTableView& view = area->table();
    for (const bool dark : {false, true}) {
        area->setPalette(dark ? darkPalette() : QApplication::palette());
        for (const int row : {0, 1}) {
            SCOPED_TRACE(::testing::Message()
                         << (dark ? "dark" : "light") << (row == 0 ? ", ticked" : ", empty"));
            const QImage shot = view.viewport()->grab().toImage();
            const QRect box = view.visualRect(cell(row, Column::plot));
            ASSERT_TRUE(view.viewport()->rect().contains(box));
            const QColor behind = shot.pixelColor(box.left() + 1, box.top() + 1);
            // An outline of a 14-point box is some 50 pixels; a faint one leaves next to none.
            EXPECT_GT(pixelsApartFrom(shot, box, behind), 30);
            if (row == 0) {
                EXPECT_GT(pixelsNear(shot, box, Theme::color()), 60);
            }
        }
    }
    // The whole narrow cell is the target, not just the box.
    const QRect empty = view.visualRect(cell(1, Column::plot));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, empty.topLeft() + QPoint(2, 2));
    EXPECT_TRUE(poll().plotted.contains(poll().datapoints[1].id));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, empty.center());
    EXPECT_FALSE(poll().plotted.contains(poll().datapoints[1].id));
}

TEST_F(DatapointTable, AnEditCommittedAsADialogOpensIsKept) {
    makeArea({pollWith({holdingRegister(0, DataType::uint16, "Old")})});
    DatapointTableView& view = area->table();
    view.setFocus();
    view.setCurrentIndex(cell(0, Column::name));
    view.edit(cell(0, Column::name));
    auto* editor = qobject_cast<QLineEdit*>(view.indexWidget(cell(0, Column::name)));
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Typed"));
    // The panel takes the focus from the editor before it answers, as a real one does.
    services.whilePanelOpen = [&] {
        QLineEdit panel;
        panel.show();
        QApplication::setActiveWindow(&panel);
        panel.setFocus();
        QCoreApplication::processEvents();
        EXPECT_EQ(poll().datapoints.front().name, "Typed");
    };
    model->importDatapointsCSV();  // the editor is still open: only focus-out can save it
    EXPECT_EQ(services.panels, 1);
    editor = qobject_cast<QLineEdit*>(view.indexWidget(cell(0, Column::name)));
    if (editor != nullptr) editor->setText(QStringLiteral("Typed"));
    area->toolbar().csvButton()->menu()->actions().front()->trigger();
    EXPECT_EQ(services.panels, 2);
    EXPECT_EQ(poll().datapoints.front().name, "Typed");
    EXPECT_EQ(text(0, Column::name), QStringLiteral("Typed"));
}

TEST(PointPresentationTest, StatusWithoutReadDependsOnPolling) {
    EXPECT_EQ(PointPresentation::status(nullptr, true).text, QStringLiteral("Waiting…"));
    EXPECT_EQ(PointPresentation::status(nullptr, false).text, QStringLiteral("—"));
    PointStatus good;
    good.value = 1;
    good.duration = 0.0125;
    EXPECT_EQ(PointPresentation::status(&good, true),
              (PointPresentation::StatusLook{QStringLiteral("checkmark.circle.fill"), Tone::green,
                                             QStringLiteral("OK · 13 ms")}));
    EXPECT_TRUE(PointPresentation::rawTooltip(&good).isEmpty());
    EXPECT_TRUE(PointPresentation::updatedTooltip(&good).isEmpty());
}

TEST(PointPresentationTest, EveryStatusNamesADrawing) {
    PointStatus good;
    good.value = 1;
    PointStatus exception;
    exception.failure = PollFailure::exception(2);
    PointStatus silent;
    silent.failure = PollFailure::timeout();
    for (const PointStatus* status : std::array<const PointStatus*, 4>{nullptr, &good, &exception, &silent}) {
        for (const bool polling : {false, true}) {
            const QString symbol = PointPresentation::status(status, polling).symbol;
            SCOPED_TRACE(symbol.toStdString());
            EXPECT_TRUE(Icons::hasSymbol(symbol));
        }
    }
}

}  // namespace
}  // namespace tessarin::test
