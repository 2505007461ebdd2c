#include <gtest/gtest.h>

#include <filesystem>

#include "html/viewer/LinkNames.h"
#include "html/viewer/MetaRefresh.h"
#include "html/viewer/TVisitedList.h"
#include "tests/viewer/ViewerTestSupport.h"

TEST(ExpandLinkName, FileUrlsBecomeLocalPaths)
{
    TLinkContext context{"", "", "/docs/index.htm"};
    EXPECT_EQ(ExpandLinkName("file:///C|/docs/a.htm", context), "/docs/a.htm");
    EXPECT_EQ(ExpandLinkName("file:///home/me/My%20Files/a.htm", context), "/home/me/My Files/a.htm");
    EXPECT_EQ(ExpandLinkName("FILE://C:\\docs\\sub\\..\\b.htm", context), "/docs/b.htm");
    EXPECT_EQ(ExpandLinkName("http://example.org/x.htm", context), "http://example.org/x.htm");
}

TEST(ExpandLinkName, RootedLinksGoUnderTheServerRoot)
{
    TLinkContext context{NormalizeServerRoot(" C:\\site\\ "), "", "/docs/index.htm"};
    EXPECT_EQ(context.serverRoot, "/site");
    EXPECT_EQ(ExpandLinkName("\\img\\x.gif", context), "/site/img/x.gif");
    EXPECT_EQ(ExpandLinkName("/img/x.gif", context), "/site/img/x.gif");
    // A drive letter names the file system root, never the server root.
    EXPECT_EQ(ExpandLinkName("C:\\img\\x.gif", context), "/img/x.gif");
    // So does a file URL (an answer page's link to the collection, or the answer itself).
    EXPECT_EQ(ExpandLinkName("file:///tmp/run/output.cgi", context), "/tmp/run/output.cgi");
    // A name expanded already (it exists as written, not under the root) stays.
    viewertest::Files files;
    std::string answer = files.Write("output.cgi", "<p>answer");
    EXPECT_EQ(ExpandLinkName(answer, context), answer);
    context.serverRoot.clear();
    EXPECT_EQ(ExpandLinkName("\\img\\x.gif", context), "/img/x.gif");
}

TEST(ExpandLinkName, RelativeLinksFollowTheBaseOrTheDocumentFolder)
{
    EXPECT_EQ(ExpandLinkName("../pics/a.gif", TLinkContext{"", "", "/docs/sub/page.htm"}), "/docs/pics/a.gif");
    EXPECT_EQ(ExpandLinkName("a.htm", TLinkContext{"", "file:///C|/other/base.htm", "/docs/page.htm"}),
              "/other/a.htm");
    std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(ExpandLinkName("a.htm", TLinkContext{"", "dospath", "/docs/page.htm"}), cwd + "/a.htm");
}

TEST(ExpandLinkName, FilesAreFoundIgnoringLetterCase)
{
    viewertest::Files files;
    std::string written = files.Write("INDEX.HTM", "<p>x");
    EXPECT_EQ(ExpandLinkName("index.htm", TLinkContext{"", "", files.Path("page.htm")}), written);
}

TEST(LinkNames, HelpersSplitAndCompare)
{
    std::string file, anchor;
    SplitAnchor("a.htm#top", file, anchor);
    EXPECT_EQ(file, "a.htm");
    EXPECT_EQ(anchor, "#top");
    EXPECT_EQ(UpperExtension("/x.y/page.Html"), ".HTML");
    EXPECT_EQ(UpperExtension("/x.y/page"), "");
    EXPECT_EQ(NormalizePath("/a/./b/../../../c"), "/c");
}

TEST(MetaRefresh, DelayAndUrl)
{
    auto zero = ParseMetaRefresh("0; URL=next.htm");
    ASSERT_TRUE(zero);
    EXPECT_EQ(zero->delay, 1);
    EXPECT_EQ(zero->url, "next.htm");
    auto plain = ParseMetaRefresh(" 5 ");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->delay, 5);
    EXPECT_EQ(plain->url, "");
    EXPECT_FALSE(ParseMetaRefresh("soon; url=x.htm"));
    EXPECT_FALSE(ParseMetaRefresh(""));
}

TEST(VisitedList, NewestFirstAndCut)
{
    TVisitedList list;
    list.SetMaxCount(3);
    for (const char* u : {"a", "b", "c", "d"})
        list.Mark(u);
    EXPECT_EQ(list.Urls(), (std::vector<std::string>{"d", "c", "b"}));
    EXPECT_TRUE(list.Mark("b"));
    EXPECT_FALSE(list.Mark("b"));
    EXPECT_EQ(list.Urls(), (std::vector<std::string>{"b", "d", "c"}));
    EXPECT_TRUE(list.Contains("D"));
    list.SetMaxCount(0);
    EXPECT_TRUE(list.Urls().empty());
    EXPECT_FALSE(list.Mark("e"));
}
