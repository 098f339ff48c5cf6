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

class OutputBufferTest : public test::GuiTest {
protected:
    // The format of the text at position (the run that holds it).
    static QTextCharFormat formatAt(const QTextDocument& document, int position) {
        QTextCursor cursor(const_cast<QTextDocument*>(&document));
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    }
};

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

TEST_F(OutputBufferTest, APaletteChangeRecoloursTheTextAlreadyWritten) {
    const QPalette original = QGuiApplication::palette();
    OutputBuffer buffer;
    buffer.append(std::vector<LogSegment>{{Kind::error, QStringLiteral("✕ lost")}});
    const QColor lightRed = formatAt(*buffer.document(), 0).foreground().color();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    QGuiApplication::setPalette(dark);
    const QColor darkRed = formatAt(*buffer.document(), 0).foreground().color();
    QGuiApplication::setPalette(original);
    EXPECT_NE(darkRed, lightRed);
    EXPECT_EQ(formatAt(*buffer.document(), 0).foreground().color(), lightRed);
}

}  // namespace
}  // namespace tessarin
