#include "core/settings.h"

#include <gtest/gtest.h>

// The program's folder, and the settings file in it, are run for real by the start tests
// in a folder and at a drive root. At any root the settings file is the one file in it.
TEST(SettingsPathIn, OneSeparatorAfterARoot) {
    for (const std::string root : {"C:\\", "\\\\server\\share\\"}) {
        EXPECT_EQ(velo::core::settingsPathIn(root), root + "q2velo.ini");
    }
}
