// Command-line switches, display defaults and the document name.
#include "all/startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

using Args = std::vector<std::string>;

// Parses the arguments as main does (program path first, "-depth: 32"
// appended) and applies the defaults.
DisplaySettings Parsed(Args args) {
    args.insert(args.begin(), "vell");
    args.push_back("-depth:");
    args.push_back("32");
    DisplaySettings s;
    ParseSwitches(args, s);
    ApplyDisplayDefaults(s);
    return s;
}

// The console output of parsing and applying the defaults.
std::string OutputOf(const Args& args) {
    testing::internal::CaptureStdout();
    Parsed(args);
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(ReadNumber, ReadsLeadingDecimalDigits) {
    EXPECT_EQ(ReadNumber("800"), 800);
    EXPECT_EQ(ReadNumber("  42"), 42);
    EXPECT_EQ(ReadNumber("-20"), -20);
    EXPECT_EQ(ReadNumber("+7"), 7);
    EXPECT_EQ(ReadNumber("12abc"), 12);
    EXPECT_EQ(ReadNumber("12 34"), 12);
    EXPECT_EQ(ReadNumber("0x10"), 0);
    EXPECT_EQ(ReadNumber("abc"), 0);
    EXPECT_EQ(ReadNumber("- 5"), 0);
    EXPECT_EQ(ReadNumber(""), 0);
}

TEST(ReadNumber, NumbersBeyondIntSaturateInsteadOfWrapping) {
    // 4294968320 is 2^32 + 1024: a wrapping reader would give 1024.
    EXPECT_EQ(ReadNumber("4294968320"), INT_MAX);
    EXPECT_EQ(ReadNumber("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(ReadNumber("-4294968320"), INT_MIN);
    EXPECT_EQ(ReadNumber("2147483647"), INT_MAX);
    EXPECT_EQ(ReadNumber("-2147483648"), INT_MIN);
}

TEST(Switches, NoArgumentsGiveTheDefaults) {
    DisplaySettings s = Parsed({});
    EXPECT_EQ(s.depth, 32);
    EXPECT_EQ(s.gfxMode, 0);
    EXPECT_EQ(s.SCX, 1024);
    EXPECT_EQ(s.SCY, 768);
    EXPECT_EQ(OutputOf({}), "");
}

TEST(Switches, ScreenSize) {
    DisplaySettings s = Parsed({"-wxh:", "800", "600"});
    EXPECT_EQ(s.SCX, 800);
    EXPECT_EQ(s.SCY, 600);

    s = Parsed({"-wxh:", "0", "600"});
    EXPECT_EQ(s.SCX, 1024);
    EXPECT_EQ(s.SCY, 768);

    s = Parsed({"-wxh:", "640", "x"});
    EXPECT_EQ(s.SCX, 1024);
    EXPECT_EQ(s.SCY, 768);
}

TEST(Switches, ScreenSizeMissingItsHeightUsesUpTheSwitch) {
    // Without the appended depth pair "-wxh: 800" are the last two arguments.
    DisplaySettings s;
    ParseSwitches({"vell", "-wxh:", "800"}, s);
    ApplyDisplayDefaults(s);
    EXPECT_EQ(s.SCX, 1024);
    EXPECT_EQ(s.SCY, 768);
}

TEST(Switches, ModeValuesAndAliases) {
    EXPECT_EQ(Parsed({"-mode:", "2"}).gfxMode, 2);
    EXPECT_EQ(Parsed({"-mode:", "-20"}).gfxMode, 2);
    EXPECT_EQ(Parsed({"-mode:", "1"}).gfxMode, 1);
    EXPECT_EQ(Parsed({"-mode:", "-10"}).gfxMode, 1);
    EXPECT_EQ(Parsed({"-mode:", "7"}).gfxMode, 7);
    EXPECT_EQ(Parsed({"-mode:", "nothing"}).gfxMode, 0);
}

TEST(Switches, EachSwitchIsTakenOnce) {
    EXPECT_EQ(Parsed({"-depth:", "16", "-depth:", "8"}).depth, 16);
    EXPECT_EQ(Parsed({"-depth:", "8"}).depth, 8);
    EXPECT_EQ(Parsed({"-depth:", "0"}).depth, 32);
    EXPECT_EQ(Parsed({"-mode:", "1", "-mode:", "2"}).gfxMode, 1);
    DisplaySettings s = Parsed({"-wxh:", "800", "600", "-wxh:", "640", "480"});
    EXPECT_EQ(s.SCX, 800);
    EXPECT_EQ(s.SCY, 600);
}

TEST(Switches, ValuesOfASkippedSwitchAreOrdinaryArguments) {
    // The second -mode: is skipped; its value "-foo:" is then examined as an
    // argument of its own and reported as an unknown switch.
    EXPECT_EQ(OutputOf({"-mode:", "1", "-mode:", "-foo:", "3"}),
              "Init( args ) - Switch defaulted on '-foo:'\n");
}

TEST(Switches, UnknownSwitchIsReportedAndItsValuePassedOver) {
    EXPECT_EQ(OutputOf({"-foo:", "3"}), "Init( args ) - Switch defaulted on '-foo:'\n");
    // No colon: the word is "wx", which is not a switch.
    EXPECT_EQ(OutputOf({"-wxh", "800", "600"}), "Init( args ) - Switch defaulted on '-wxh'\n");
    DisplaySettings s = Parsed({"-foo:", "3", "-mode:", "2"});
    EXPECT_EQ(s.gfxMode, 2);
}

TEST(Switches, ArgumentsThatAreNoSwitchesArePassedOverSilently) {
    testing::internal::CaptureStdout();
    DisplaySettings s;
    ParseSwitches({"vell", "picture.pcx", "-x", "-mode:"}, s);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(s.gfxMode, 0);
}

TEST(Switches, UnusableScreenSizesFallBackWithOneLine) {
    const Args refused[] = {
        {"-wxh:", "-5", "600"},     {"-wxh:", "800", "-1"},        {"-wxh:", "60000", "60000"},
        {"-wxh:", "32768", "600"},  {"-wxh:", "800", "40000"},     {"-wxh:", "4294968320", "768"},
    };
    for (const Args& args : refused) {
        SCOPED_TRACE(args[1] + " " + args[2]);
        DisplaySettings s = Parsed(args);
        EXPECT_EQ(s.SCX, 1024);
        EXPECT_EQ(s.SCY, 768);
        std::string out = OutputOf(args);
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    }
    DisplaySettings s = Parsed({"-wxh:", "32767", "16"});
    EXPECT_EQ(s.SCX, 32767);
    EXPECT_EQ(s.SCY, 16);
}

TEST(Switches, AnOddDepthDoesNotRefuseAUsableSize) {
    // Allegro refuses such a depth itself; the size check must not invent a
    // second complaint about a perfectly good screen size.
    for (const char* depth : {"-8", "1", "4", "2000000000"}) {
        SCOPED_TRACE(depth);
        EXPECT_EQ(OutputOf({"-depth:", depth, "-wxh:", "800", "600"}), "");
        DisplaySettings s = Parsed({"-depth:", depth, "-wxh:", "800", "600"});
        EXPECT_EQ(s.SCX, 800);
        EXPECT_EQ(s.SCY, 600);
    }
}

TEST(GfxModeName, NamesTheThreeDriversAndNothingElse) {
    EXPECT_STREQ(GfxModeName(0), "GFX_AUTODETECT");
    EXPECT_STREQ(GfxModeName(1), "GFX_AUTODETECT_FULLSCREEN");
    EXPECT_STREQ(GfxModeName(2), "GFX_AUTODETECT_WINDOWED");
    EXPECT_STREQ(GfxModeName(7), "(Dunno)");
    EXPECT_STREQ(GfxModeName(-1), "(Dunno)");
}

TEST(DocumentName, OnlyAnExistingFirstArgument) {
    TempDir dir;
    ASSERT_TRUE(WriteFile("pic.pcx", ""));

    EXPECT_EQ(DocumentName({"vell", "pic.pcx"}), "pic.pcx");
    EXPECT_EQ(DocumentName({"vell", "pic.pcx", "-mode:", "2"}), "pic.pcx");
    EXPECT_EQ(DocumentName({"vell", "missing.pcx"}), "");
    EXPECT_EQ(DocumentName({"vell"}), "");
    EXPECT_EQ(DocumentName({"vell", "-mode:", "pic.pcx"}), "");
    EXPECT_EQ(DocumentName({"vell", dir.path()}), dir.path());
}
