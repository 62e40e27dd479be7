#include "platform/FileLock.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

TEST(ExclusiveFileLock, OneHolderAtATimeAndTheWaitIsBounded) {
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.lock");
    {
        const ExclusiveFileLock held(path, 0);
        ASSERT_TRUE(held.isLocked());
        const ExclusiveFileLock waiting(path, 50);
        EXPECT_FALSE(waiting.isLocked()) << "a second holder while the first holds it";
    }
    const ExclusiveFileLock after(path, 0);
    EXPECT_TRUE(after.isLocked()) << "released with its holder";
    EXPECT_FALSE(ExclusiveFileLock(dir.filePath("absent/x.lock"), 0).isLocked());
}
