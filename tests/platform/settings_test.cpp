#include "platform/settings.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

using namespace platform;
using testsupport::readFileBytes;
using testsupport::TempDir;
using testsupport::writeFileBytes;

TEST(Settings, RoundTripStoresDataWhole) {
    TempDir dir;
    const auto path = dir.file("cfg/quorvane/registry.ini");  // folders created on first write
    const std::string key = "Software\\Quorvane\\考试";
    const std::string tricky[] = {"中文数据",
                                  "",
                                  "line1\r\nline2\nline3\r",
                                  "a=b=c",
                                  "\\back\\slash\\n",
                                  "  padded  ",
                                  "[not a key]",
                                  ";not a comment",
                                  "\xFF raw byte"};
    {
        SettingsStore store(path);
        EXPECT_EQ(store.createKey(key), 0);
        for (std::size_t i = 0; i < std::size(tricky); ++i)
            EXPECT_EQ(store.setValue(key, "v" + std::to_string(i), tricky[i]), 0);
        EXPECT_EQ(store.setValue(key, "名=字[", "odd name"), 0);
        EXPECT_EQ(store.setValue(key, "", "default value"), 0);
    }
    SettingsStore again(path);
    for (std::size_t i = 0; i < std::size(tricky); ++i)
        EXPECT_EQ(again.value(key, "v" + std::to_string(i)), tricky[i]) << i;
    EXPECT_EQ(again.value(key, "名=字["), "odd name");
    EXPECT_EQ(again.value(key, ""), "default value");
    EXPECT_FALSE(again.value(key, "missing"));
    EXPECT_FALSE(again.value("Software\\Other", "v0"));
}

TEST(Settings, KeysAndNamesIgnoreCaseAndSeparators) {
    TempDir dir;
    SettingsStore store(dir.file("r.ini"));
    EXPECT_EQ(store.setValue("Software\\Q\\Main", "Path", "one"), 0);
    EXPECT_EQ(store.setValue("\\software\\\\q\\MAIN\\", "PATH", "two"), 0);  // overwrites
    EXPECT_EQ(store.value("SOFTWARE/Q/main", "path"), "two");
    EXPECT_EQ(store.createKey("Software\\Q\\Main"), 0);
    EXPECT_EQ(store.value("Software\\Q\\Main", "Path"), "two");
    EXPECT_NE(store.createKey(""), 0);
    EXPECT_NE(store.setValue("bad\nkey", "n", "d"), 0);
}

TEST(Settings, SharesTheFileAndReportsFailure) {
    TempDir dir;
    SettingsStore a(dir.file("r.ini")), b(dir.file("r.ini"));
    EXPECT_EQ(a.setValue("K", "x", "1"), 0);
    EXPECT_EQ(b.setValue("K", "y", "2"), 0);
    EXPECT_EQ(a.value("K", "y"), "2");
    EXPECT_EQ(b.value("K", "x"), "1");

    writeFileBytes(dir.file("blocker"), "");
    SettingsStore blocked(dir.file("blocker/r.ini"));  // its folder is a file
    EXPECT_NE(blocked.setValue("K", "x", "1"), 0);
    EXPECT_FALSE(blocked.value("K", "x"));
    SettingsStore onFolder(dir.path());
    EXPECT_NE(onFolder.createKey("K"), 0);
}

TEST(Settings, DefaultPath) {
    {
        testsupport::ScopedEnv xdg("XDG_CONFIG_HOME", "/x/cfg");
        EXPECT_EQ(defaultSettingsPath(), "/x/cfg/quorvane/registry.ini");
    }
    testsupport::ScopedEnv noXdg("XDG_CONFIG_HOME", nullptr);
    const std::string home = getenv("HOME") ? getenv("HOME") : "";
    if (!home.empty()) {
        EXPECT_EQ(defaultSettingsPath(), home + "/.config/quorvane/registry.ini");
    }
}
