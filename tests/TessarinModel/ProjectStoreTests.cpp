#include "TessarinModel/ProjectStore.hpp"

#include "GuiTestApp.hpp"
#include "ModelFixture.hpp"

#include <QTemporaryDir>

namespace tessarin::test {
namespace {

using ProjectStoreTest = ModelFixture;

TEST_F(ProjectStoreTest, AWriteReplacesThePendingAutosaveAndFilesComeBackOrAreRefused) {
    int due = 0;
    ProjectStore store([&] { ++due; });
    EXPECT_EQ(store.loadAutosave(), std::nullopt) << "no file yet";
    store.scheduleAutosave();
    ASSERT_TRUE(store.autosavePending());
    PollerProject project{.host = "plc", .polls = {pollWith({holdingRegister(3)})}};
    EXPECT_TRUE(store.writeAutosave(project));
    EXPECT_FALSE(store.autosavePending()) << "the write was the autosave that was due";
    EXPECT_EQ(store.loadAutosave(), project);
    EXPECT_EQ(due, 0);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plant.json"));
    ASSERT_TRUE(ProjectStore::writeFile(path, project));
    EXPECT_EQ(ProjectStore::readFile(path), project);
    const auto refused = ProjectStore::writeFile(dir.filePath(QStringLiteral("gone/plant.json")), project);
    ASSERT_FALSE(refused);
    EXPECT_FALSE(refused.error().isEmpty()) << "the system's reason";
    for (const QByteArray& foreign : {QByteArray("[1, 2]"), QByteArray("\xFF\xFE{")}) {
        writeFile(path, foreign);
        EXPECT_EQ(ProjectStore::readFile(path), std::nullopt);
    }
    EXPECT_EQ(ProjectStore::readFile(dir.filePath(QStringLiteral("missing.json"))), std::nullopt);
}

}  // namespace
}  // namespace tessarin::test
