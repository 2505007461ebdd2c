// kovra as scripts call it, with a private program folder so no settings file
// of a person's copy is read.
#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

#include "SearchTestSupport.h"

#ifdef KOVRA_COMMAND

namespace {

enum class TStream { Output, Errors };

// What kovra writes on one of its streams.
std::string Kovra(const TTempTree& programDir, const std::string& arguments, TStream stream = TStream::Output)
{
    const std::string command = "QUILLON_PROGRAM_DIR='" + programDir.path() + "' " KOVRA_COMMAND " " + arguments +
                                (stream == TStream::Output ? " 2>/dev/null" : " 2>&1 >/dev/null");
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return output;
    std::array<char, 4096> buffer{};
    for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        output.append(buffer.data(), n);
    ::pclose(pipe);
    return output;
}

size_t Lines(const std::string& text)
{
    size_t count = 0;
    for (char c : text)
        count += c == '\n';
    return count;
}

} // namespace

TEST(KovraCommand, SeeksEveryStoredFormUnlessToldNotTo)
{
    TTempTree programDir;
    TTempTree tree;
    tree.write("entity.htm", "caf&eacute;");
    tree.write("numeric.htm", "caf&#xE9;");
    tree.write("utf8.htm", "caf\xC3\xA9");
    tree.write("cp1252.htm", "CAF\xC9");
    const std::string options = "--print --dir '" + tree.path() + "' --size 0 --no-show-size --no-show-date ";
    EXPECT_EQ(Lines(Kovra(programDir, options + "'CAF\xC3\x89'")), 4u);
    EXPECT_EQ(Lines(Kovra(programDir, options + "--case 'CAF\xC3\x89'")), 1u);
    EXPECT_EQ(Kovra(programDir, options + "--no-convert 'caf\xC3\xA9'"), tree.file("utf8.htm") + "\n");

    const std::string help = Kovra(programDir, "--help");
    for (const char* said : {"&#233;", "&#xE9;", "UTF-8", "Windows-1252", "--no-convert"})
        EXPECT_NE(help.find(said), std::string::npos) << said;
}

TEST(KovraCommand, SaysWhatItSearchedOnItsErrorStream)
{
    TTempTree programDir;
    TTempTree tree;
    tree.write("small.htm", "cat");
    tree.write("big.htm", std::string(40000, 'x') + "cat");
    const std::string options = "--print --dir '" + tree.path() + "' --no-show-size --no-show-date cat";
    EXPECT_EQ(Kovra(programDir, options), tree.file("small.htm") + "\n") << "the default size limit holds";
    const std::string said = Kovra(programDir, options, TStream::Errors);
    EXPECT_EQ(said, "kovra: Searched " + tree.path() + " with its sub-folders for files named *.htm.\n"
                    "kovra: Only files of at most 32,000 bytes were searched: 1 file over 32,000 bytes was not "
                    "searched (--size 0 searches them).\n");
}

TEST(KovraCommand, ShowsPassagesUnlessToldNot)
{
    TTempTree programDir;
    TTempTree tree;
    tree.write("a.htm", "<title>A</title><p>The cat sat on the mat.</p>");
    const std::string options = "--dir '" + tree.path() + "' --output '" + programDir.file("page.htm") + "' ";
    const std::string passage = "<font size=-1>The <b>cat</b> sat on the mat.</font><br>";
    Kovra(programDir, options + "cat");
    const std::string with = ReadWholeFile(programDir.file("page.htm"));
    ASSERT_NE(with.find(passage), std::string::npos) << with;
    Kovra(programDir, options + "--no-context cat");
    EXPECT_EQ(ReadWholeFile(programDir.file("page.htm")), std::string(with).erase(with.find(passage), passage.size()));
    Kovra(programDir, options + "--context 0 cat");
    EXPECT_EQ(ReadWholeFile(programDir.file("page.htm")).find("<font size=-1>The"), std::string::npos);
    EXPECT_NE(Kovra(programDir, options + "--context 99 cat", TStream::Errors).find("--context takes 0 to 20"),
              std::string::npos);
}

#endif
