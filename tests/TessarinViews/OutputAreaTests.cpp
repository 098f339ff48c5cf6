#include "TessarinViews/OutputArea.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/EmptyLogView.hpp"
#include "TessarinViews/LogFindBar.hpp"
#include "TessarinViews/OutputTextView.hpp"
#include "TessarinViews/ThemedButton.hpp"
#include "WindowFixture.hpp"
#include "support/FreePort.hpp"
#include "support/PixelCounts.hpp"

#include <QAction>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include <utility>

namespace tessarin {
namespace {

class OutputAreaTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        model().setShowTimestamps(false);
        area = std::make_unique<OutputArea>(model());
        area->resize(700, 240);
    }

    void TearDown() override {
        area.reset();
        WindowTest::TearDown();
    }

    void appendLines(const QStringList& lines) {
        for (const QString& line : lines) {
            model().appendLine({{LogSegment::Kind::response, line}});
        }
        QCoreApplication::processEvents();
    }

    [[nodiscard]] bool showArea() {
        area->show();
        QApplication::setActiveWindow(area.get());
        return QTest::qWaitForWindowActive(area.get());
    }

    [[nodiscard]] QString selected() const { return area->textView()->textCursor().selectedText(); }
    [[nodiscard]] int selectionStart() const { return area->textView()->textCursor().selectionStart(); }

    std::unique_ptr<OutputArea> area;
};

TEST_F(OutputAreaTest, ShowsTheBuffersOwnDocumentWhichTypingCannotChange) {
    OutputTextView& view = *area->textView();
    EXPECT_EQ(view.document(), model().output().document()) << "shown in place, never copied";
    EXPECT_EQ(view.accessibleName(), QStringLiteral("Communication log"));
    appendLines({QStringLiteral("--- connected ---"), QStringLiteral("← HR 0: 215")});
    const QString before = model().output().plainText();
    ASSERT_TRUE(showArea());

    view.setFocus();
    QTest::keyClicks(&view, QStringLiteral("typed"));
    QTest::keyClick(&view, Qt::Key_Backspace);
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(model().output().plainText(), before);

    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selected().replace(QChar::ParagraphSeparator, u'\n'), before) << "all of it selectable";
}

// Dark text pixels in the view's picture; the backdrop behind the text is faint.
int textPixels(OutputTextView& view) {
    const QImage shot = view.viewport()->grab().toImage();
    const QColor ink = view.palette().color(QPalette::Text);
    return test::pixelsNear(shot, shot.rect(), ink);
}

TEST_F(OutputAreaTest, EveryPictureOfTheLogShowsItsTextHoweverSoonItFollowsTheLast) {
    OutputTextView& view = *area->textView();
    appendLines({QStringLiteral("--- connected ---"), QStringLiteral("← HR 0: 215 216 217 218")});
    ASSERT_TRUE(showArea());
    view.catchUp();
    // A screenshot, a window coming back from behind another, a popup closing over the log:
    // each paints the text now, not a frame later.
    for (int picture = 0; picture < 3; ++picture) {
        SCOPED_TRACE(picture);
        EXPECT_GT(textPixels(view), 50);
    }
}

TEST_F(OutputAreaTest, TheFindBarFindsAsYouTypeStepsBothWaysRoundTheLogAndClosesWithEscape) {
    appendLines({QStringLiteral("read alpha"), QStringLiteral("read beta"), QStringLiteral("write beta"),
                 QStringLiteral("read gamma")});
    ASSERT_TRUE(showArea());
    LogFindBar& bar = *area->findBar();
    EXPECT_TRUE(bar.isHidden());
    QTest::keyClick(area->textView(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(bar.isVisible());
    ASSERT_TRUE(bar.field()->hasFocus());

    QTest::keyClicks(bar.field(), QStringLiteral("BE"));
    EXPECT_EQ(selected(), QStringLiteral("be")) << "case does not matter";
    const int firstBeta = selectionStart();
    QTest::keyClicks(bar.field(), QStringLiteral("ta"));
    EXPECT_EQ(selected(), QStringLiteral("beta"));
    EXPECT_EQ(selectionStart(), firstBeta) << "typing on grows the match in place";

    QTest::keyClick(bar.field(), Qt::Key_Return);
    const int secondBeta = selectionStart();
    EXPECT_GT(secondBeta, firstBeta);
    QTest::mouseClick(bar.nextButton(), Qt::LeftButton);
    EXPECT_EQ(selectionStart(), firstBeta) << "wraps round to the first";
    QTest::keyClick(bar.field(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(selectionStart(), secondBeta) << "backward wraps round to the last";
    QTest::mouseClick(bar.previousButton(), Qt::LeftButton);
    EXPECT_EQ(selectionStart(), firstBeta);

    bar.field()->setText(QStringLiteral("delta"));
    EXPECT_TRUE(bar.showsNotFound());
    EXPECT_EQ(selectionStart(), firstBeta) << "no match keeps the selection";
    bar.field()->setText(QStringLiteral("gamma"));
    EXPECT_FALSE(bar.showsNotFound());
    EXPECT_EQ(selected(), QStringLiteral("gamma"));

    QTest::keyClick(bar.field(), Qt::Key_Escape);
    EXPECT_TRUE(bar.isHidden());
    EXPECT_TRUE(area->textView()->hasFocus());
}

TEST_F(OutputAreaTest, TheEmptyLogPanelShowsOnlyWhileTheLogIsEmptyAndReadingIsStopped) {
    ASSERT_TRUE(area->showsEmptyLog());
    EXPECT_EQ(area->emptyLogView()->startButton()->text(), QStringLiteral("Start reading"));

    appendLines({QStringLiteral("first line")});
    EXPECT_FALSE(area->showsEmptyLog()) << "the first line takes it away";
    model().clearLog();
    EXPECT_TRUE(area->showsEmptyLog());

    const test::ClosedPort port;
    model().setHost(QStringLiteral("127.0.0.1"));
    model().setPortText(QString::number(port.port()));
    // The log stays empty until the engine's first event arrives, which this test never lets in.
    QTest::mouseClick(area->emptyLogView()->startButton(), Qt::LeftButton);
    EXPECT_NE(model().state(), PollerState::stopped);
    EXPECT_FALSE(area->showsEmptyLog());
    model().stop();
    model().clearLog();
    EXPECT_TRUE(area->showsEmptyLog());
}

TEST_F(OutputAreaTest, TheLogFollowsItsEndOnlyWhileAutoscrollIsOn) {
    ASSERT_TRUE(showArea());
    QStringList lines;
    for (int i = 0; i < 300; ++i) {
        lines << QStringLiteral("line %1").arg(i);
    }
    appendLines(lines);
    OutputTextView& view = *area->textView();
    // The scroll bar takes in the lines with the next frame.
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.verticalScrollBar()->maximum() > 0; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.isAtEnd(); }));

    model().setAutoscroll(false);
    view.verticalScrollBar()->setValue(0);
    appendLines(lines);
    // A follow that was asked for would come within a frame.
    QTest::qWait(OutputTextView::frameMs * 3);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);

    model().setAutoscroll(true);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0) << "takes effect with the next line";
    appendLines({QStringLiteral("one more")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.isAtEnd(); }));
}

TEST_F(OutputAreaTest, LinesNotYetDrawnAreFoundAndTheEndStaysInViewThroughTrims) {
    ASSERT_TRUE(showArea());
    OutputTextView& view = *area->textView();
    // Small limits, so that each batch below trims the oldest lines while the view is behind.
    model().output().setLimits(4'000, 2'000);
    // The newest line and whether it is in view; the empty block after its line feed follows it.
    const auto newestLine = [&] {
        QTextCursor line(view.document());
        line.movePosition(QTextCursor::End);
        line.movePosition(QTextCursor::PreviousBlock);
        return std::pair(line.block().text(), view.viewport()->rect().contains(view.cursorRect(line)));
    };
    for (int batch = 0; batch < 4; ++batch) {
        SCOPED_TRACE(batch);
        QStringList lines;
        for (int i = 0; i < 300; ++i) {
            lines << QStringLiteral("batch %1 line %2").arg(batch).arg(i, 3, 10, QLatin1Char('0'));
        }
        appendLines(lines);
        ASSERT_LE(model().output().length(), 4'000);

        // Found at once, before the next frame, and scrolled into view.
        ASSERT_TRUE(view.findText(lines.constLast(), OutputTextView::Direction::backward));
        EXPECT_EQ(selected(), lines.constLast());
        EXPECT_TRUE(view.viewport()->rect().contains(view.cursorRect()));

        // Following the end ends on the newest line, whatever the trims took from the front.
        appendLines({QStringLiteral("batch %1 end").arg(batch)});
        EXPECT_TRUE(QTest::qWaitFor([&] { return view.isAtEnd(); }));
        EXPECT_EQ(newestLine(), std::pair(QStringLiteral("batch %1 end").arg(batch), true));
    }
}

}  // namespace
}  // namespace tessarin
