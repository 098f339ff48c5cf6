#include "TessarinModel/OutputBuffer.hpp"

#include "GuiTestApp.hpp"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <vector>

namespace tessarin {
namespace {

using Kind = LogSegment::Kind;

class OutputBufferTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureGuiApp(); }

    // The format of the text at position (the run that holds it).
    static QTextCharFormat formatAt(const QTextDocument& document, int position) {
        QTextCursor cursor(const_cast<QTextDocument*>(&document));
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    }
};

TEST_F(OutputBufferTest, LinesAreSegmentsInTheirKindsFormatFollowedByALineFeed) {
    OutputBuffer buffer;
    std::vector<LogSegment> line;
    for (std::size_t index = 0; index < logSegmentKindNames.size(); ++index) {
        line.push_back({static_cast<Kind>(index), QStringLiteral("[%1]").arg(index)});
    }
    buffer.append(line);
    buffer.append(std::vector<LogSegment>{});
    EXPECT_EQ(buffer.plainText(), QStringLiteral("[0][1][2][3][4][5][6][7]\n\n"));
    EXPECT_EQ(buffer.length(), buffer.plainText().size());

    for (std::size_t index = 0; index < logSegmentKindNames.size(); ++index) {
        const auto kind = static_cast<Kind>(index);
        SCOPED_TRACE(std::string(rawValue(kind)));
        const QTextCharFormat format = formatAt(*buffer.document(), static_cast<int>(index) * 3);
        EXPECT_EQ(format.foreground(), buffer.format(kind).foreground());
        const QFont font = format.font().resolve(buffer.document()->defaultFont());
        EXPECT_EQ(font.pointSizeF(), kind == Kind::system ? 11.0 : 12.0);
        EXPECT_EQ(font.weight(), kind == Kind::system ? QFont::Medium : QFont::Normal);
    }
    // Text and responses take the view's own text colour.
    EXPECT_EQ(buffer.format(Kind::response).foreground().style(), Qt::NoBrush);
    EXPECT_NE(buffer.format(Kind::error).foreground(), buffer.format(Kind::warning).foreground());

    buffer.clear();
    EXPECT_EQ(buffer.length(), 0);
    buffer.append(std::vector<LogSegment>{{Kind::text, QStringLiteral("again")}});
    EXPECT_EQ(buffer.plainText(), QStringLiteral("again\n"));
}

TEST_F(OutputBufferTest, TrimsTheFullSizeLogToAboutThreeQuartersOnALineBoundary) {
    OutputBuffer buffer;
    const QString filler(90, QLatin1Char('x'));
    int lines = 0;
    // Numbered lines of 100 characters with their line feed, up to just below the cap.
    const auto line = [&](int number) {
        return std::vector<LogSegment>{
            {Kind::text, QStringLiteral("%1 ").arg(number, 8, 10, QLatin1Char('0')) + filler}};
    };
    while (buffer.length() + 100 <= OutputBuffer::defaultMaxCharacters) {
        buffer.append(line(lines++));
    }
    ASSERT_EQ(buffer.length(), 2'000'000);
    buffer.append(line(lines++));

    EXPECT_LE(buffer.length(), 1'500'000);
    EXPECT_GE(buffer.length(), 1'500'000 - 100);
    const QString text = buffer.plainText();
    const int firstNumber = text.left(8).toInt();
    EXPECT_EQ(text.left(9), QStringLiteral("%1 ").arg(firstNumber, 8, 10, QLatin1Char('0')));
    EXPECT_EQ(lines - firstNumber, buffer.length() / 100);
    EXPECT_TRUE(
        text.endsWith(QStringLiteral("%1 ").arg(lines - 1, 8, 10, QLatin1Char('0')) + filler + u'\n'));
}

TEST_F(OutputBufferTest, TrimmingCutsOnTheLineFeedAtOrAfterTheCut) {
    struct Row {
        const char* name;
        std::vector<QString> lines;
        QString kept;
    };
    // Limits 20/10: a trim starts once more than 20 characters are held and keeps at most 10.
    const std::vector<Row> rows{
        {"cut inside a line drops the whole line",
         {QStringLiteral("aaaaaaaa"), QStringLiteral("bbbbbbbb"), QStringLiteral("cccccccc")},
         QStringLiteral("cccccccc\n")},
        {"cut right at a line start still drops that line",
         {QStringLiteral("aaaaaaaaaa"), QStringLiteral("bbbb"), QStringLiteral("cccccc")},
         QStringLiteral("cccccc\n")},
        {"one line longer than the cap leaves nothing",
         {QStringLiteral("a"), QString(30, QLatin1Char('z'))},
         QString()},
    };
    // Rendered line by line, or all lines in one batch.
    for (const bool eachLine : {true, false}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.name);
            SCOPED_TRACE(eachLine ? "line by line" : "one batch");
            OutputBuffer buffer;
            buffer.setLimits(20, 10);
            for (const QString& text : row.lines) {
                buffer.append(std::vector<LogSegment>{{Kind::text, text}});
                if (eachLine) buffer.render();
            }
            EXPECT_EQ(buffer.plainText(), row.kept);
            EXPECT_EQ(buffer.length(), row.kept.size());
        }
    }
}

TEST_F(OutputBufferTest, LinesReachTheDocumentInOneRenderPerEventLoopTurn) {
    OutputBuffer buffer;
    QSignalSpy scrolls(&buffer, &OutputBuffer::scrollToEndRequested);
    const std::vector<LogSegment> line{{Kind::text, QStringLiteral("x")}};

    buffer.append(line);
    buffer.append(line);
    EXPECT_EQ(scrolls.count(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(buffer.plainText(), QStringLiteral("x\nx\n"));
    EXPECT_EQ(scrolls.count(), 1);

    // Autoscroll is asked for per render while it is on; off, the view stays where it is.
    buffer.setAutoscroll(false);
    buffer.append(line);
    QCoreApplication::processEvents();
    EXPECT_EQ(scrolls.count(), 1);
    buffer.setAutoscroll(true);
    buffer.append(line);
    QCoreApplication::processEvents();
    EXPECT_EQ(scrolls.count(), 2);

    // Clearing drops what was still waiting as well.
    buffer.append(line);
    buffer.clear();
    QCoreApplication::processEvents();
    EXPECT_EQ(buffer.length(), 0);
}

TEST_F(OutputBufferTest, ABatchBeyondTheCapKeepsWhatLineByLineAppendsWouldKeep) {
    // Lines of 9 characters with the line feed; limits 50/30. Whatever the batching, the log
    // holds the newest lines, starts on a line and is never longer than the cap.
    const auto line = [](int number) {
        return std::vector<LogSegment>{
            {Kind::text, QStringLiteral("line %1").arg(number, 3, 10, QLatin1Char('0'))}};
    };
    for (const int batch : {1, 2, 3, 5, 8, 40}) {
        SCOPED_TRACE(batch);
        OutputBuffer buffer;
        buffer.setLimits(50, 30);
        for (int number = 0; number < 100; ++number) {
            buffer.append(line(number));
            if ((number + 1) % batch == 0) {
                buffer.render();
                EXPECT_LE(buffer.length(), 50);
            }
        }
        const QString text = buffer.plainText();
        EXPECT_TRUE(text.startsWith(QStringLiteral("line ")));
        EXPECT_TRUE(text.endsWith(QStringLiteral("line 099\n")));
        EXPECT_GE(text.size(), 27);
        EXPECT_LE(text.size(), 50);
    }
}

TEST_F(OutputBufferTest, AChangeToADarkPaletteRecoloursTheTextAlreadyWritten) {
    const QPalette original = QGuiApplication::palette();
    OutputBuffer buffer;
    buffer.append(std::vector<LogSegment>{{Kind::error, QStringLiteral("✕ lost")},
                                          {Kind::text, QStringLiteral(" ok")}});
    ASSERT_FALSE(buffer.darkAppearance());
    const QColor lightRed = formatAt(*buffer.document(), 0).foreground().color();

    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(20, 20, 20));
    dark.setColor(QPalette::Text, QColor(235, 235, 235));
    QGuiApplication::setPalette(dark);

    EXPECT_TRUE(buffer.darkAppearance());
    const QColor darkRed = formatAt(*buffer.document(), 0).foreground().color();
    EXPECT_NE(darkRed, lightRed);
    EXPECT_EQ(darkRed, buffer.format(Kind::error).foreground().color());
    EXPECT_EQ(buffer.plainText(), QStringLiteral("✕ lost ok\n"));

    QGuiApplication::setPalette(original);
    EXPECT_FALSE(buffer.darkAppearance());
    EXPECT_EQ(formatAt(*buffer.document(), 0).foreground().color(), lightRed);
}

}  // namespace
}  // namespace tessarin
