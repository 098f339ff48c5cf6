#include "TessarinViews/Assets.hpp"

#include "ViewsTestApp.hpp"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace tessarin {
namespace {

class AssetsTest : public test::WidgetTest {};

QString writeImage(const QString& folder, const QString& file, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString path = folder + u'/' + file;
    EXPECT_TRUE(image.save(path, "PNG"));
    return path;
}

TEST_F(AssetsTest, AScreenshotIsTheLanguagesOwnThenTheEnglishOneThenNone) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString overviewEn = writeImage(folder.path(), QStringLiteral("overview-en.png"), {40, 30});
    const QString overviewDe = writeImage(folder.path(), QStringLiteral("overview-de.png"), {41, 30});
    const QString chartEn = writeImage(folder.path(), QStringLiteral("chart-en.png"), {42, 30});
    writeImage(folder.path(), QStringLiteral("table-fr.png"), {43, 30});
    // Outside the folder, where a name with a path in it would reach.
    QTemporaryDir outside;
    writeImage(outside.path(), QStringLiteral("secret-en.png"), {10, 10});
    const QString climbing = QStringLiteral("../") + QDir(folder.path()).relativeFilePath(outside.path()) +
                             QStringLiteral("/secret");

    struct Row {
        const char* name;
        QString screenshot;
        Language language;
        std::optional<QString> path;
    };
    const Row rows[] = {
        {"own language", QStringLiteral("overview"), Language::de, overviewDe},
        {"English itself", QStringLiteral("overview"), Language::en, overviewEn},
        {"English stands in", QStringLiteral("overview"), Language::fr, overviewEn},
        {"only English exists", QStringLiteral("chart"), Language::nl, chartEn},
        {"only another language exists", QStringLiteral("table"), Language::es, std::nullopt},
        {"no file at all", QStringLiteral("missing"), Language::en, std::nullopt},
        {"empty name", QString(), Language::en, std::nullopt},
        {"name with a path", climbing, Language::en, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Assets::helpScreenshotPath(row.screenshot, row.language, folder.path()), row.path);
        const QImage image = Assets::helpScreenshot(row.screenshot, row.language, folder.path());
        EXPECT_EQ(image.isNull(), !row.path.has_value());
        if (row.path) {
            EXPECT_EQ(image.size(), QImage(*row.path).size());
        }
    }
}

TEST_F(AssetsTest, AScreenshotFileThatDoesNotDecodeGivesNoImage) {
    QTemporaryDir folder;
    QFile broken(folder.path() + QStringLiteral("/overview-en.png"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    EXPECT_TRUE(Assets::helpScreenshot(u"overview", Language::de, folder.path()).isNull());
}

TEST_F(AssetsTest, TheLogoIsDrawnInItsTintAtTheAskedSize) {
    for (const QColor tint : {QColor(Qt::black), QColor(235, 235, 235)}) {
        SCOPED_TRACE(tint.name().toStdString());
        const QImage image = Assets::logo(92, tint, 2.0).toImage();
        ASSERT_EQ(image.size(), QSize(184, 184));
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.alpha() > 200) {
                    ++drawn;
                    ASSERT_LE(std::abs(pixel.green() - tint.green()), 3);
                }
            }
        }
        EXPECT_GT(drawn, 1000);
    }
}

}  // namespace
}  // namespace tessarin
