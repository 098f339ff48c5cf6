#include "TessarinModel/AtomicFile.hpp"

#include "ModelFixture.hpp"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <cerrno>
#include <cstring>

namespace tessarin::test {
namespace {

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(AtomicFile, ReplacesTheTargetAndLeavesNoTemporaryFileBehind) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("project.json"));
    ASSERT_TRUE(AtomicFile::write(path, "old contents"));
    // Larger than one write call, so the loop over chunks is exercised.
    const QByteArray large(300'000, 'x');
    ASSERT_TRUE(AtomicFile::write(path, large));
    EXPECT_EQ(ModelFixture::readFile(path), large);
    ASSERT_TRUE(AtomicFile::write(path, ""));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(ModelFixture::readFile(path), QByteArray());
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("project.json")});
}

TEST(AtomicFile, AShortWriteKeepsTheOriginalFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("project.json"));
    ASSERT_TRUE(AtomicFile::write(path, "the user's project"));

    for (const qint64 room : {qint64{0}, qint64{1000}, qint64{64 * 1024}, qint64{100'000}}) {
        SCOPED_TRACE(room);
        AtomicFile::setSpaceLimitForTesting(room);
        const auto result = AtomicFile::write(path, QByteArray(200'000, 'y'));
        AtomicFile::setSpaceLimitForTesting(std::nullopt);
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error(), QString::fromLocal8Bit(std::strerror(ENOSPC)));
        EXPECT_EQ(ModelFixture::readFile(path), QByteArray("the user's project"));
        EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("project.json")});
    }
}

// The same on a real full file system, where the system itself cuts the write short.
TEST(AtomicFile, AFullDiskKeepsTheOriginalFile) {
    QTemporaryDir dir;
    if (::mount("tmpfs", dir.path().toLocal8Bit().constData(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno)
                     << "); the short-write seam test covers the logic";
    }
    const QString path = dir.filePath(QStringLiteral("project.json"));
    const auto original = AtomicFile::write(path, "the user's project");
    const auto overfull = AtomicFile::write(path, QByteArray(256 * 1024, 'z'));
    const QByteArray kept = ModelFixture::readFile(path);
    const QStringList left = entries(dir.path());
    ::umount(dir.path().toLocal8Bit().constData());

    ASSERT_TRUE(original);
    ASSERT_FALSE(overfull);
    EXPECT_EQ(overfull.error(), QString::fromLocal8Bit(std::strerror(ENOSPC)));
    EXPECT_EQ(kept, QByteArray("the user's project"));
    EXPECT_EQ(left, QStringList{QStringLiteral("project.json")});
}

}  // namespace
}  // namespace tessarin::test
