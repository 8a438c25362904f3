// The operating system services: temporary directory and names, file tests with either separator.
#include <sys/stat.h>

#include <cerrno>

#include "platform/platform.h"
#include "support/test_support.h"

using namespace rizari;
using namespace rizari::test;

TEST(Platform, TemporaryDirectoryOrder)
{
    ScopedEnv tmp("TMP", "/from/tmp");
    ScopedEnv temp("TEMP", "/from/temp/");
    ScopedEnv tmpdir("TMPDIR", "C:\\from\\tmpdir\\");
    EXPECT_EQ(platform::temporaryDirectory(), "/from/tmp/");
    {
        ScopedEnv noTmp("TMP", std::nullopt);
        EXPECT_EQ(platform::temporaryDirectory(), "/from/temp/");
        ScopedEnv noTemp("TEMP", "");
        EXPECT_EQ(platform::temporaryDirectory(), "C:\\from\\tmpdir\\");  // ends in a separator already
        ScopedEnv noTmpdir("TMPDIR", std::nullopt);
        EXPECT_EQ(platform::temporaryDirectory(), "/tmp/");
    }
}

TEST(Platform, UniqueNamesAreNewPrivateFiles)
{
    TempDir dir;
    ScopedEnv tmp("TMP", dir.path().string());
    const auto a = platform::uniqueTempName();
    const auto b = platform::uniqueTempName();
    ASSERT_TRUE(a && b);
    EXPECT_NE(*a, *b);
    EXPECT_EQ(fs::path(*a).parent_path(), dir.path());
    struct stat st {};
    ASSERT_EQ(stat(a->c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_size, 0);

    ScopedEnv missing("TMP", (dir.path() / "missing").string());
    EXPECT_FALSE(platform::uniqueTempName());
}

TEST(Platform, BackslashesSeparateDirectories)
{
    TempDir dir;
    fs::create_directories(dir.path() / "sbin");
    writeFile(dir.path() / "sbin" / "f.txt", "x");
    const std::string back = dir.path().string() + "\\sbin\\f.txt";
    EXPECT_EQ(platform::nativePath("a\\b/c\\"), "a/b/c/");
    EXPECT_TRUE(platform::fileExists(back));
    EXPECT_TRUE(platform::isReadable(back));
    EXPECT_TRUE(platform::isWritable(back));
    EXPECT_EQ(platform::removeFile(back), 0);
    EXPECT_FALSE(platform::fileExists(back));
    EXPECT_EQ(platform::removeFile(back), -1);
    EXPECT_EQ(captureStderr([] {
                  errno = ENOENT;
                  platform::reportError("CPlot::RemoveCurves()");
              }),
              "CPlot::RemoveCurves(): No such file or directory\n");

    // The engine counts as installed under either probe name.
    EXPECT_FALSE(platform::engineInstalled(dir.path().string()));
    writeFile(dir.path() / "sbin" / "gnuplot.exe", "");
    EXPECT_TRUE(platform::engineInstalled(dir.path().string()));
}
