#include "ViewsTestApp.hpp"

#include "Localization/L10n.hpp"
#include "TessarinViews/DatapointColumn.hpp"
#include "TessarinViews/TableFitter.hpp"

#include <QApplication>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

#include <cmath>

namespace tessarin::test {
namespace {

constexpr double inf = unboundedWidth;

struct FitRow {
    const char* name;
    std::vector<TableFitter::Column> columns;
    double available;
    std::optional<std::vector<double>> expected;
};

TEST(TableFitterTargets, ScaleThenClamp) {
    const std::vector<FitRow> rows{
        {"one factor for all", {{100, 100, 10, inf}, {50, 50, 10, inf}, {50, 50, 10, inf}}, 400,
         std::vector<double>{200, 100, 100}},
        {"a column at its maximum leaves the rest to the others",
         {{100, 100, 10, 120}, {100, 100, 10, inf}}, 400, std::vector<double>{120, 280}},
        {"a column at its minimum when narrowing", {{100, 100, 80, inf}, {100, 100, 10, inf}}, 100,
         std::vector<double>{80, 20}},
        {"a fixed column stays", {{34, 34, 34, 34}, {100, 100, 10, inf}}, 234, std::vector<double>{34, 200}},
        {"no base width: the current one", {{0, 60, 10, inf}, {0, 60, 10, inf}}, 240, std::vector<double>{120, 120}},
        {"base widths, not current ones, set the shares", {{100, 300, 10, inf}, {100, 100, 10, inf}}, 600,
         std::vector<double>{300, 300}},
        {"within a point of filling", {{100, 199.5, 10, inf}, {200, 200, 10, inf}}, 400, std::nullopt},
        {"no room", {{100, 100, 10, inf}}, 0, std::nullopt},
        {"no columns", {}, 300, std::nullopt},
        {"clamped columns take everything", {{100, 100, 300, inf}, {100, 100, 300, inf}}, 500,
         std::vector<double>{300, 300}},
    };
    for (const FitRow& row : rows) {
        SCOPED_TRACE(row.name);
        const auto fitted = TableFitter::targets(row.columns, row.available);
        ASSERT_EQ(fitted.has_value(), row.expected.has_value());
        if (!fitted) continue;
        ASSERT_EQ(fitted->size(), row.expected->size());
        for (std::size_t i = 0; i < fitted->size(); ++i) EXPECT_NEAR((*fitted)[i], (*row.expected)[i], 1e-9);
    }
}

class TableFitterWidget : public WidgetTest {};

TEST_F(TableFitterWidget, TheUsersWidthsBecomeTheBaseOfTheNextFit) {
    QStandardItemModel items(3, 3);
    QTableView table;
    table.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QHeaderView* header = table.horizontalHeader();
    for (int i = 0; i < 3; ++i) header->resizeSection(i, 100);
    table.setModel(&items);
    for (int i = 0; i < 3; ++i) header->resizeSection(i, 100);
    TableFitter fitter(table, [](int) { return std::pair{10.0, inf}; });
    table.resize(600, 200);
    table.show();
    const auto width = [&](int i) { return header->sectionSize(i); };
    const int available = table.viewport()->width();
    EXPECT_NEAR(width(0) + width(1) + width(2), available, 2);
    EXPECT_NEAR(width(0), width(1), 1);

    header->resizeSection(0, 2 * width(1));  // as the user drags it
    EXPECT_EQ(fitter.baseWidths().front(), width(0));
    table.resize(900, 200);
    EXPECT_NEAR(width(0) + width(1) + width(2), table.viewport()->width(), 2);
    EXPECT_NEAR(width(0), 2 * width(1), 2);
    EXPECT_NEAR(width(1), width(2), 1);
}

TEST_F(TableFitterWidget, EveryHeaderFitsItsColumnInEveryLanguage) {
    const QFontMetrics metrics(QApplication::font());
    for (const auto& entry : datapointColumns) {
        const ColumnWidths widths = columnWidths(entry.column, metrics);
        EXPECT_GE(widths.ideal, entry.idealWidth);
        EXPECT_LE(widths.min, widths.ideal);
        for (const Language language : allLanguages) {
            SCOPED_TRACE(entry.header(language));
            EXPECT_LE(headerWidth(entry.column, language, metrics), widths.ideal);
        }
    }
}

}  // namespace
}  // namespace tessarin::test
