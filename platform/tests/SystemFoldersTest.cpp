#include "platform/SystemFolders.h"
#include "platform/testing/TempEnvironment.h"

#include <gtest/gtest.h>

TEST(SystemFolders, EnvironmentVariablesWinOverTheXdgFolders) {
    vantor::testing::TempEnvironment env;
    EXPECT_EQ(vantor::CommonAppDataFolder(), env.CommonAppData());
    EXPECT_EQ(vantor::UserAppDataFolder(), env.UserAppData());
}

TEST(SystemFolders, FallsBackToXdgFoldersWhenUnset) {
    vantor::testing::TempEnvironment env;
    qunsetenv(vantor::kCommonAppDataVariable);
    qunsetenv(vantor::kUserAppDataVariable);
    EXPECT_EQ(vantor::CommonAppDataFolder(), env.Root() + QStringLiteral("/data"));
    EXPECT_EQ(vantor::UserAppDataFolder(), env.Root() + QStringLiteral("/config"));
}
