#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <vector>
#include <sys/stat.h>

#include "TestSupport.h"
#include "util/Exception.h"
#include "util/TIniFile.h"
#include "tests/support/PermissionsBind.h"

TEST(IniFile, MissingFileSectionOrKeyGivesDefaults)
{
    TempFolder dir;
    TIniFile ini(dir.file("none.ini"));
    EXPECT_FALSE(ini.exists());
    EXPECT_EQ(ini.ReadString("Windows", "Top", "x"), "x");
    EXPECT_EQ(ini.ReadInteger("Windows", "Top", 212), 212);
    EXPECT_TRUE(ini.ReadBool("Windows", "Toolbar", true));
    EXPECT_EQ(ini.ReadColor("HTMLViewer1", "FontColor", 0x123456), 0x123456u);
    EXPECT_TRUE(ini.ReadSection("Windows").empty());
}

TEST(IniFile, NamesMatchIgnoringCaseAndValuesAreTyped)
{
    TempFolder dir;
    writeFile(dir.file("a.ini"), "[StartUp]\r\nHOMEPAGE=index.htm\r\nIdleSec=12\r\nGoBack=7\r\nAutoClose=yes\r\n"
                                 "LoadHome=0\r\nSpaced= two words \r\n");
    TIniFile ini(dir.file("a.ini"));
    EXPECT_EQ(ini.ReadString("startup", "HomePage", ""), "index.htm");
    EXPECT_EQ(ini.ReadInteger("STARTUP", "idlesec", 5), 12);
    EXPECT_TRUE(ini.ReadBool("StartUp", "GoBack", false)) << "any non-zero integer is true";
    EXPECT_TRUE(ini.ReadBool("StartUp", "AutoClose", true)) << "a non-integer yields the default";
    EXPECT_FALSE(ini.ReadBool("StartUp", "AutoClose", false));
    EXPECT_FALSE(ini.ReadBool("StartUp", "LoadHome", true));
    EXPECT_EQ(ini.ReadString("StartUp", "Spaced", ""), " two words ") << "strings are the rest of the line";
}

TEST(IniFile, MarginWithFractionReadsAsDefault)
{
    TempFolder dir;
    writeFile(dir.file("a.ini"), "[HTMLViewer1]\nMLeft=15.5\nMTop=-3\nMRight=\n");
    TIniFile ini(dir.file("a.ini"));
    EXPECT_EQ(ini.ReadInteger("HTMLViewer1", "MLeft", 20), 20);
    EXPECT_EQ(ini.ReadInteger("HTMLViewer1", "MTop", 20), -3);
    EXPECT_EQ(ini.ReadInteger("HTMLViewer1", "MRight", 20), 20);
}

TEST(IniFile, WritesKeepOtherLinesAndTheirOrder)
{
    TempFolder dir;
    writeFile(dir.file("a.ini"), "; publisher's note\n[Windows]\nTop=1\nLeft=2\n\n[Helpers]\npdf=xpdf\n");
    TIniFile ini(dir.file("a.ini"));
    ini.WriteInteger("WINDOWS", "left", 40);
    ini.WriteInteger("Windows", "Width", 622);
    ini.WriteString("Editor", "Program", "gedit");
    EXPECT_EQ(readFile(dir.file("a.ini")),
              "; publisher's note\n[Windows]\nTop=1\nleft=40\nWidth=622\n\n[Helpers]\npdf=xpdf\n\n"
              "[Editor]\nProgram=gedit\n");
    EXPECT_EQ(ini.ReadSection("Windows"), (std::vector<std::string>{"Top", "left", "Width"}));
    EXPECT_EQ(ini.ReadSectionValues("helpers"), (std::vector<std::string>{"pdf=xpdf"}));
}

TEST(IniFile, EraseSectionAndDeleteKey)
{
    TempFolder dir;
    writeFile(dir.file("a.ini"), "[A]\nx=1\n[Editor]\nProgram=vi\n[B]\ny=2\nz=3\n");
    TIniFile ini(dir.file("a.ini"));
    ini.EraseSection("editor");
    ini.DeleteKey("B", "Y");
    EXPECT_EQ(readFile(dir.file("a.ini")), "[A]\nx=1\n[B]\nz=3\n");
    EXPECT_FALSE(ini.SectionExists("Editor"));
}

TEST(IniFile, ColoursRoundTripAsIdentifiersOrHex)
{
    TempFolder dir;
    TIniFile ini(dir.file("c.ini"));
    ini.WriteColor("HTMLViewer1", "FontColor", 0x563412);
    ini.WriteColor("HTMLViewer1", "Background", ClSystemBase + 15);
    ini.WriteColor("HTMLViewer1", "LinkColor", 0xFF0000);
    EXPECT_EQ(ini.ReadString("HTMLViewer1", "FontColor", ""), "$00563412");
    EXPECT_EQ(ini.ReadString("HTMLViewer1", "Background", ""), "clBtnFace");
    EXPECT_EQ(ini.ReadString("HTMLViewer1", "LinkColor", ""), "clBlue");
    EXPECT_EQ(ini.ReadColor("HTMLViewer1", "FontColor", 0), 0x563412u);
    EXPECT_EQ(ini.ReadColor("HTMLViewer1", "Background", 0), ClSystemBase + 15);

    writeFile(dir.file("d.ini"), "[V]\na=clred\nb=255\nc=\nd=notacolour\ne=$80000018\n");
    TIniFile other(dir.file("d.ini"));
    EXPECT_EQ(other.ReadColor("V", "a", 7), 0x0000FFu);
    EXPECT_EQ(other.ReadColor("V", "b", 7), 255u);
    EXPECT_EQ(other.ReadColor("V", "c", 7), 7u) << "an empty value leaves the colour unchanged";
    EXPECT_EQ(other.ReadColor("V", "d", 7), 7u);
    EXPECT_EQ(other.ReadColor("V", "e", 7), ClSystemBase + 24);
}

TEST(IniFile, RefusedWriteRaisesUnableToWriteAndKeepsTheFile)
{
    if (!PermissionsBind())
        GTEST_SKIP() << "this user writes read-only files";
    TempFolder dir;
    std::string name = dir.file("ro.ini");
    writeFile(name, "[A]\nx=1\n");
    ::chmod(name.c_str(), 0444);
    TIniFile ini(name);
    try {
        ini.WriteString("A", "y", "2");
        FAIL() << "write to a read-only file succeeded";
    } catch (const EWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + name);
    }
    EXPECT_EQ(readFile(name), "[A]\nx=1\n");
}

TEST(IniFile, SettingsPathThatIsAFolderRaisesAndReadsDefaults)
{
    TempFolder dir;
    std::filesystem::create_directories(dir.file("KOVRA32.INI"));
    TIniFile ini(dir.file("KOVRA32.INI"));
    EXPECT_EQ(ini.ReadInteger("Windows", "Top", 212), 212);
    EXPECT_THROW(ini.WriteInteger("Windows", "Top", 1), EWriteError);
}

TEST(IniFile, WriteIntoMissingFolderRaises)
{
    TempFolder dir;
    TIniFile ini(dir.file("no/such/dir/x.ini"));
    EXPECT_THROW(ini.WriteString("A", "b", "c"), EWriteError);
}

TEST(IniFile, GarbageLongLinesAndBinaryBytesSurviveRewrite)
{
    TempFolder dir;
    const char binary[] = "\x01\x02\x00\xff junk=\x00\n";
    std::string garbage = "[Windows\nTop=5\n" + std::string(100000, 'x') + "\n=novalue\n"
        + std::string(binary, sizeof binary - 1) + "[KOVRA]\nFSize=100\n";
    writeFile(dir.file("g.ini"), garbage);
    TIniFile ini(dir.file("g.ini"));
    EXPECT_EQ(ini.ReadInteger("Windows", "Top", 0), 5) << "a missing ']' still opens the section";
    EXPECT_EQ(ini.ReadInteger("KOVRA", "FSize", 0), 100);
    ini.WriteInteger("KOVRA", "FGDays", 3);
    EXPECT_EQ(ini.ReadInteger("Windows", "Top", 0), 5);
    EXPECT_EQ(ini.ReadInteger("KOVRA", "FSize", 0), 100);
    EXPECT_EQ(ini.ReadInteger("KOVRA", "FGDays", 0), 3);
    EXPECT_NE(readFile(dir.file("g.ini")).find(std::string(100000, 'x')), std::string::npos);
}

TEST(IniFile, ValuesWithLineBreaksStayOnOneLine)
{
    TempFolder dir;
    TIniFile ini(dir.file("h.ini"));
    ini.WriteString("HTMLViewer1", "Header", "a\nb");
    ini.WriteString("HTMLViewer1", "Footer", "c");
    EXPECT_EQ(ini.ReadString("HTMLViewer1", "Header", ""), "a b");
    EXPECT_EQ(ini.ReadSection("HTMLViewer1").size(), 2u);
}

TEST(IniFile, CrLfFilesKeepTheirLineEndsAndValues)
{
    TempFolder dir;
    writeFile(dir.file("w.ini"), "[Other]\r\nTop=212\r\r\n[Windows]\r\nLeft=1\r\n");
    TIniFile ini(dir.file("w.ini"));
    std::string before = ini.ReadString("Other", "Top", "");
    ini.WriteInteger("Windows", "Top", 5);
    EXPECT_EQ(ini.ReadString("Other", "Top", ""), before);
    EXPECT_EQ(readFile(dir.file("w.ini")), "[Other]\r\nTop=212\r\r\n[Windows]\r\nLeft=1\r\nTop=5\r\n");
}

TEST(IniFile, TemporariesOfKilledSavesAreRemovedWhenOld)
{
    TempFolder dir;
    TIniFile ini(dir.file("KOVRA32.INI"));
    ini.WriteString("KOVRA", "Key", "value");
    auto make = [&](const std::string& name, int ageSeconds) {
        writeFile(dir.file(name), "half a file");
        auto when = std::filesystem::file_time_type::clock::now() - std::chrono::seconds(ageSeconds);
        std::filesystem::last_write_time(dir.file(name), when);
    };
    make(".quillon-ini-Ab3xYz", 3600);
    make(".quillon-ini-Qq9Q9q", 7200);
    make(".quillon-ini-fresh1", 0);     // a save under way in another copy
    make(".quillon-ini-toolong1", 3600); // not a name of ours
    make("notes.txt", 3600);
    ini.RemoveStaleTemporaries();
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".quillon-ini-fresh1", ".quillon-ini-toolong1", "KOVRA32.INI",
                                              "KOVRA32.INI.lock", "notes.txt"}));
    EXPECT_EQ(ini.ReadString("KOVRA", "Key", ""), "value");
}

TEST(IniFile, KeysThatWouldReadBackAsSomethingElseAreRefused)
{
    TempFolder dir;
    TIniFile ini(dir.file("KOVRA32.INI"));
    ini.WriteString("SrhPath", "Manuals", "/doc");
    for (std::string key : {"a=b", ";comment", " [Section]", "[x", "two\nlines", "", "  "}) {
        try {
            ini.WriteString("SrhPath", key, "/elsewhere");
            ADD_FAILURE() << "accepted " << key;
        } catch (const EWriteError& e) {
            EXPECT_NE(std::string(e.what()).find("cannot be saved"), std::string::npos) << e.what();
        }
    }
    // Nothing was written: the section reads back as it was.
    EXPECT_EQ(ini.ReadSection("SrhPath"), (std::vector<std::string>{"Manuals"}));
    EXPECT_TRUE(ini.SectionExists("SrhPath"));
    EXPECT_FALSE(ini.SectionExists("Section"));
    ini.WriteString("SrhPath", "Plans; 2024 [draft]", "/plans");
    EXPECT_EQ(ini.ReadString("SrhPath", "Plans; 2024 [draft]", ""), "/plans");
}
