#include "fileio/fileio.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>

#include "test_support.h"

namespace {

std::vector<unsigned char> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

class FileIOConfig : public ::testing::Test {
protected:
    TempDir dir;
    FileIO io;
    void SetUp() override { io.SetConfigFile("test.cfg"); }
};

TEST_F(FileIOConfig, AbsentKeysGiveTheDefaults) {
    io.SetSection("A");
    EXPECT_EQ(42, io.GetInt("missing", 42));
    EXPECT_EQ("fallback", io.GetString("missing", "fallback"));
    EXPECT_EQ(-3, io.GetIntIn("Nowhere", "k", -3));
}

TEST_F(FileIOConfig, ValuesSetAreReadBackAndReachTheFile) {
    io.SetSection("A");
    io.SetInt("k", 5);
    io.SetString("name", "frames/run");
    EXPECT_EQ(5, io.GetInt("k", 0));
    EXPECT_EQ("frames/run", io.GetString("name", ""));
    // The same key in another section is independent.
    EXPECT_EQ(0, io.GetIntIn("B", "k", 0));
    io.Flush();
    std::string file = ReadFile("test.cfg");
    size_t section = file.find("[A]");
    ASSERT_NE(std::string::npos, section) << file;
    EXPECT_NE(std::string::npos, file.find("k = 5", section)) << file;
    EXPECT_NE(std::string::npos, file.find("name = frames/run", section)) << file;
}

TEST_F(FileIOConfig, RememberedSectionAndKeyActLikeNamedOnes) {
    io.SetSectionKey("S", "K");
    EXPECT_EQ("S", io.SectionName());
    EXPECT_EQ("K", io.KeyName());
    io.SetIntValue(3);
    EXPECT_EQ(3, io.GetIntValue(0));
    EXPECT_EQ(3, io.GetIntIn("S", "K", 0));
    io.SetIntValue2(4);
    EXPECT_EQ(4, io.GetIntAt("K", 0));
    io.SetIntAt("L", 6);
    EXPECT_EQ(6, io.GetInt("L", 0));
    io.SetStringValue2("words");
    EXPECT_EQ("words", io.GetString("K", ""));
    io.SetStringIn("T", "K", "other");
    EXPECT_EQ("T", io.SectionName());
    EXPECT_EQ("other", io.GetStringIn("T", "K", ""));
    EXPECT_EQ("words", io.GetStringIn("S", "K", ""));
    EXPECT_EQ("S", io.SectionName());
}

TEST_F(FileIOConfig, ExistingFileIsReadWhenSet) {
    WriteFile("hand.cfg", "[Lens]\nmag = 7\ntext = a b\n");
    io.SetConfigFile("hand.cfg");
    io.SetSection("Lens");
    EXPECT_EQ(7, io.GetInt("mag", 16));
    EXPECT_EQ("a b", io.GetString("text", ""));
}

TEST_F(FileIOConfig, ChangesReachTheDiskWhenSwitchingFiles) {
    io.SetSection("P");
    io.SetInt("x", 12);
    io.SetConfigFile("other.cfg");
    EXPECT_NE(std::string::npos, ReadFile("test.cfg").find("x = 12"));
}

// A configuration replaced whole keeps what the editor does not know (other
// keys, comments); a write cut short (a full disk, here a file size limit)
// keeps the old file. Neither leaves a temporary file.
TEST_F(FileIOConfig, AConfigurationWriteReplacesTheFileWholeOrNotAtAll) {
    WriteFile("w.cfg", "# by hand\n[Mine]\nkeep = 1\n[A]\nk = 1\n");
    io.StartConfigWrite("w.cfg");
    io.SetStringIn("A", "k", "2");
    ASSERT_TRUE(io.Flush());
    std::string file = ReadFile("w.cfg");
    EXPECT_EQ("# by hand\n[Mine]\nkeep = 1\n[A]\nk = 2\n", file);

    io.StartConfigWrite("w.cfg");
    io.SetString("long", std::string(5000, 'v'));
    rlimit was, small = {1000, 1000};
    getrlimit(RLIMIT_FSIZE, &was);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    testing::internal::CaptureStdout();
    bool written = io.Flush();
    setrlimit(RLIMIT_FSIZE, &was);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ("'w.cfg' was not saved: it was not written completely\n", testing::internal::GetCapturedStdout());
    EXPECT_FALSE(written);
    EXPECT_EQ(file, ReadFile("w.cfg"));
    EXPECT_TRUE(io.Find(".w.cfg.tmp-*").empty());
}

class FileIOFiles : public ::testing::Test {
protected:
    TempDir dir;
    FileIO io;
};

TEST_F(FileIOFiles, FindReturnsBareNamesOfMatchingFilesOnly) {
    WriteFile("img000.tga", "a");
    WriteFile("img001.tga", "b");
    WriteFile("img.pcx", "c");
    WriteFile(".hidden.tga", "d");
    ASSERT_EQ(0, mkdir("dir.tga", 0755));
    ASSERT_EQ(0, mkdir("sub", 0755));
    WriteFile("sub/img002.tga", "e");
    std::vector<std::string> found = io.Find("img*.tga");
    std::sort(found.begin(), found.end());
    EXPECT_EQ((std::vector<std::string>{"img000.tga", "img001.tga"}), found);
    EXPECT_EQ(2u, io.Find("img00?.tga").size());
    EXPECT_TRUE(io.Find("*.bmp").empty());
    EXPECT_EQ(3u, io.Find("*").size());  // no directories, no hidden files
}

TEST_F(FileIOFiles, SaveLoadAndAppend) {
    std::string binary("a\0b\xff", 4);
    ASSERT_TRUE(io.Save("data.bin", Bytes(binary)));
    ASSERT_TRUE(io.Append("data.bin", Bytes("tail")));
    ASSERT_TRUE(io.Append("fresh.bin", Bytes("new")));
    EXPECT_EQ(binary + "tail", ReadFile("data.bin"));
    EXPECT_EQ("new", ReadFile("fresh.bin"));

    io.SetFileName("data.bin");
    EXPECT_EQ("data.bin", io.FileName());
    ASSERT_TRUE(io.LoadFile());
    EXPECT_EQ(Bytes(binary + "tail"), io.Data());

    // Saving again truncates.
    ASSERT_TRUE(io.Save("data.bin", Bytes("x")));
    EXPECT_EQ("x", ReadFile("data.bin"));
}

TEST_F(FileIOFiles, FailuresAreReportedAndKeepTheData) {
    ASSERT_TRUE(io.Save("keep.bin", Bytes("kept")));
    ASSERT_TRUE(io.Load("keep.bin"));
    ASSERT_EQ(0, mkdir("adir", 0755));
    EXPECT_FALSE(io.Load("missing.bin"));
    EXPECT_FALSE(io.Load("adir"));
    EXPECT_EQ(Bytes("kept"), io.Data());
    EXPECT_FALSE(io.Save("nodir/x.bin", Bytes("x")));
    EXPECT_FALSE(io.Save("adir", Bytes("x")));
    EXPECT_FALSE(io.Append("nodir/x.bin", Bytes("x")));
}

}  // namespace
