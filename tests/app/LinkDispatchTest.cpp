#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <sys/stat.h>

#include "AppTestSupport.h"
#include "LinkTestSupport.h"
#include "app/LinkTargets.h"
#include "html/viewer/TFrameViewer.h"
#include "util/TIniFile.h"

namespace {

class LinkDispatch : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        previous = std::filesystem::current_path();
        write("page.htm", "<title>Page</title><p>links");
        write("KOVRA32.INI", "");
        window = std::make_unique<TLinkTestWindow>();
        window->show();
        window->LoadHTMLFile(QString::fromStdString(file("page.htm")));
    }
    void TearDown() override
    {
        window.reset();
        std::filesystem::current_path(previous);
        AppTest::TearDown();
    }
    // Clicks the link as the viewer does: the shell first, then the viewer.
    void click(const std::string& url) { window->Viewer()->FrameLinkClick(*window->Viewer()->ActiveView(), url); }
    bool handledBy(const std::string& url)
    {
        bool handled = false;
        window->findChild<TLinkDispatcher*>()->HotSpotTargetClick("", url, handled);
        return handled;
    }
    // A program that writes its argument count and arguments into a file.
    void program(const char* name, const char* log)
    {
        write(name, std::string("#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '") + file(log) + "'\n");
        ::chmod(file(name).c_str(), 0755);
    }
    std::string waitFor(const char* name)
    {
        // A program that never writes fails the caller's comparison.
        static_cast<void>(QTest::qWaitFor([&] { return !read(name).empty(); }, 3000));
        return read(name);
    }
    void settings(const std::string& text) { write("KOVRA32.INI", text); }
    TRecordingPrompts& prompts() { return *window->prompts; }

    std::filesystem::path previous;
    std::unique_ptr<TLinkTestWindow> window;
};

} // namespace

TEST_F(LinkDispatch, CommandWordsInAnyCaseAreNotFollowed)
{
    EXPECT_TRUE(handledBy("refresh"));
    EXPECT_EQ(window->CurrentFile().toStdString(), file("page.htm"));
    click("Exit");
    EXPECT_FALSE(window->isVisible()) << "EXIT closes the program";
    EXPECT_TRUE(window->errors.isEmpty()) << "the viewer did not try to open a file called Exit";
}

TEST_F(LinkDispatch, ProgramLinksGetTheirArgumentsAsOneArgument)
{
    prompts().runAnswer = TUserPrompts::TRunChoice::RunOnce;
    std::filesystem::create_directory(file("cgi"));
    program("cgi/log.exe", "log.txt");
    click("cgi/log.exe?two words");
    EXPECT_EQ(waitFor("log.txt"), "1|two words|");
    EXPECT_TRUE(prompts().errors.isEmpty()) << prompts().errors.join(";").toStdString();
    EXPECT_EQ(window->CurrentFile().toStdString(), file("page.htm"));

    // A script with the execute bit is a program link too, and a name in
    // capitals finds it; no argument means none is passed.
    program("cgi/tell.sh", "tell.txt");
    click("CGI/TELL.SH");
    EXPECT_EQ(waitFor("tell.txt"), "0|");

    // Text after "?" is an argument, never shell syntax.
    click("cgi/log.exe?$(touch hacked); `touch hacked2` | x > y");
    static_cast<void>(QTest::qWaitFor([&] { return read("log.txt").starts_with("1|$("); }, 3000));
    EXPECT_EQ(read("log.txt"), "1|$(touch hacked); `touch hacked2` | x > y|");
    EXPECT_FALSE(std::filesystem::exists(file("hacked")));
}

TEST_F(LinkDispatch, MissingProgramsAndFoldersSayWhy)
{
    click("cgi/nosuchprog.exe?test");
    ASSERT_EQ(prompts().informed.size(), 1);
    EXPECT_EQ(prompts().informed[0], "The hyperlink specified is unreachable.The path/filename in the html file may be "
                                     "incorrect.");
    std::filesystem::create_directories(file("cgi/folder.exe"));
    click("cgi/folder.exe?x");
    EXPECT_EQ(prompts().informed.size(), 2) << "a folder is not a program";
    click("nosuchprog.exe");
    ASSERT_EQ(prompts().errors.size(), 1);
    EXPECT_EQ(prompts().errors[0], "nosuchprog.exe not found");
    EXPECT_EQ(window->CurrentFile().toStdString(), file("page.htm"));
    EXPECT_TRUE(window->errors.isEmpty()) << window->errors.join(";").toStdString();
}

TEST_F(LinkDispatch, MessageLinksShowTheirTextQuoted)
{
    window->findChild<QLineEdit*>("ED_Location")->setText("typed");
    click("showmessage?Wickie");
    click("SHOWMESSAGE?The light is exhibited from sunset to sunrise.");
    EXPECT_EQ(prompts().informed, QStringList({"\"Wickie\"", "\"The light is exhibited from sunset to sunrise.\""}));
    EXPECT_EQ(window->LocationText(), "typed") << "a message leaves the location bar alone";
}

TEST_F(LinkDispatch, BatchStartsProgramsAndSkipsMissingFrames)
{
    prompts().runAnswer = TUserPrompts::TRunChoice::RunOnce;
    program("log.exe", "log.txt");
    bool handled = handledBy("QXBATCH?log.exe|from a batch&reading|page.htm&no bar here");
    EXPECT_TRUE(handled);
    EXPECT_EQ(waitFor("log.txt"), "1|from a batch|");
    EXPECT_TRUE(prompts().errors.isEmpty()) << prompts().errors.join(";").toStdString();

    // A thousand items: the first ones are carried out, the user hears why not the rest.
    std::string items = "QXBATCH?";
    for (int i = 0; i < 1000; ++i)
        items += "frame" + std::to_string(i) + "|page.htm&";
    EXPECT_TRUE(handledBy(items));
    ASSERT_EQ(prompts().errors.size(), 1);
    EXPECT_TRUE(prompts().errors[0].contains("only the first 64")) << prompts().errors[0].toStdString();
}

TEST_F(LinkDispatch, MailAndWebLinksGoToTheConfiguredPrograms)
{
    EXPECT_TRUE(handledBy("mailto:friends@example.org")) << "nothing configured still answers the click";
    EXPECT_TRUE(prompts().opened.isEmpty());
    program("browser", "browser.txt");
    settings("[Email]\nProgram=(Default App.)\n[WebBrowser]\nProgram=" + file("browser") + "\n");
    click("mailto:friends@example.org?subject=Handbook");
    ASSERT_EQ(prompts().opened.size(), 1);
    EXPECT_EQ(prompts().opened[0].toString(), "mailto:friends@example.org?subject=Handbook");
    click("http://www.example.org/");
    EXPECT_EQ(waitFor("browser.txt"), "1|http://www.example.org/|");
    settings("[WebBrowser]\nProgram=/no/such/browser\n");
    click("http://www.example.org/");
    EXPECT_EQ(prompts().errors, QStringList({"/no/such/browser not found"}));
    EXPECT_EQ(window->CurrentFile().toStdString(), file("page.htm"));
}

TEST_F(LinkDispatch, OnlyWebAddressesGoToTheWebBrowser)
{
    program("browser", "browser.txt");
    settings("[WebBrowser]\nProgram=" + file("browser") + "\n");
    // A file beside the page whose name merely starts with "http".
    write("http-notes.desktop", "[Desktop Entry]\nType=Application\nExec=touch " + file("hacked") + "\n");
    click("http-notes.desktop");
    EXPECT_EQ(window->CurrentFile().toStdString(), file("http-notes.desktop")) << "shown as the text it is";
    click("HTTPS://www.example.org/");
    EXPECT_EQ(waitFor("browser.txt"), "1|HTTPS://www.example.org/|");
    EXPECT_FALSE(std::filesystem::exists(file("hacked")));
}

TEST_F(LinkDispatch, AHugeHoveredLinkNeitherWidensNorSavesAWideWindow)
{
    window->resize(640, 480);
    QApplication::processEvents();
    int width = window->width();
    std::string url = "page.htm?" + std::string(200 * 1024, 'w') + "-the-end";
    window->Viewer()->OnHotSpotTargetCovered(window->Viewer(), "", url);
    QApplication::processEvents();
    EXPECT_EQ(window->width(), width);
    auto* label = window->findChild<QLabel*>("LB_URL");
    ASSERT_NE(label, nullptr);
    EXPECT_LT(label->text().size(), 3000);
    EXPECT_TRUE(label->text().startsWith("        page.htm?www")) << label->text().left(40).toStdString();
    window->SaveOptions();
    EXPECT_EQ(TIniFile(file("KOVRA32.INI")).ReadInteger("Windows", "Width", 0), width);
}

TEST_F(LinkDispatch, HelpersSaveOpenOrRunTheLinkedFile)
{
    write("notes.txt", "some notes");
    write("data.dat", "data");
    write("old.dat", "old");
    program("viewer", "viewer.txt");
    settings("[Helpers]\nTXT=" + file("viewer") + "\ndat=(Save to disk)\npdf=(Default App.)\nzip=/no/such/unzip\n");

    click("notes.txt");
    EXPECT_EQ(waitFor("viewer.txt"), "1|" + file("notes.txt") + "|") << "the extension is found in any case";
    EXPECT_EQ(window->CurrentFile().toStdString(), file("page.htm"));

    prompts().saveAnswer = QString::fromStdString(file("copy.dat"));
    click("data.dat");
    EXPECT_EQ(prompts().proposedNames, QStringList({"data.dat"}));
    EXPECT_EQ(read("copy.dat"), "data");
    EXPECT_EQ(window->CurrentFile().toStdString(), file("page.htm")) << "the document stays";

    // An existing file is replaced only when the user agrees.
    prompts().saveAnswer = QString::fromStdString(file("old.dat"));
    prompts().confirmAnswer = false;
    click("data.dat");
    EXPECT_EQ(prompts().confirmed, QStringList({"File already exists, overwrite?"}));
    EXPECT_EQ(read("old.dat"), "old");
    prompts().confirmAnswer = true;
    click("data.dat");
    EXPECT_EQ(read("old.dat"), "data");

    write("book.pdf", "%PDF-1.4");
    click("book.pdf");
    ASSERT_EQ(prompts().opened.size(), 1);
    EXPECT_EQ(prompts().opened[0], QUrl::fromLocalFile(QString::fromStdString(file("book.pdf"))));

    write("a.zip", "PK");
    click("a.zip");
    EXPECT_EQ(prompts().errors, QStringList({"/no/such/unzip not found"}));
}

TEST_F(LinkDispatch, WavesRingAndFilesTheViewerCannotShowAreOffered)
{
    write("bell.wav", std::string("RIFF$\0\0\0WAVE", 12));
    click("bell.wav");
    ASSERT_EQ(window->wave->played.size(), 1u);
    EXPECT_EQ(window->wave->played[0], file("bell.wav"));
    EXPECT_EQ(window->CurrentFile().toStdString(), file("page.htm")) << "no \"RIFF$\" page";

    write("tool.bin", std::string("\x7f" "ELF\2\1\1\0", 8));
    prompts().unknownAnswer = TUserPrompts::TUnknownFileChoice::Open;
    click("tool.bin");
    EXPECT_EQ(prompts().unknownFiles, QStringList({"tool.bin"}));
    ASSERT_EQ(prompts().opened.size(), 1);
    EXPECT_EQ(prompts().opened[0], QUrl::fromLocalFile(QString::fromStdString(file("tool.bin"))));
    EXPECT_EQ(window->CurrentFile().toStdString(), file("page.htm"));

    // Text and pages are the viewer's.
    write("other.htm", "<title>Other</title>");
    click("other.htm");
    EXPECT_EQ(window->CurrentFile().toStdString(), file("other.htm"));
    EXPECT_EQ(prompts().unknownFiles.size(), 1);
}

TEST_F(LinkDispatch, OrdinaryAndResultsLinksAreLeftToTheViewer)
{
    std::filesystem::create_directory(file("sub"));
    write("sub/hit.htm", "<title>Hit</title>");
    std::string results = "file:///" + file("sub/hit.htm").substr(1);
    EXPECT_FALSE(handledBy(results));
    EXPECT_FALSE(handledBy("page.htm#anchor"));
    EXPECT_FALSE(handledBy("#top"));
    click(results);
    EXPECT_EQ(window->CurrentFile().toStdString(), file("sub/hit.htm"));

    // A 100 kB link text is no program, message or batch.
    std::string huge(100000, 'x');
    EXPECT_FALSE(handledBy(huge + ".htm"));
    EXPECT_TRUE(handledBy(huge + ".exe?" + huge));
    ASSERT_EQ(prompts().errors.size(), 1);
    EXPECT_TRUE(prompts().errors[0].endsWith(".exe not found"));
    EXPECT_TRUE(handledBy("showmessage?" + huge));
    ASSERT_EQ(prompts().informed.size(), 1);
    EXPECT_EQ(prompts().informed[0].size(), 257) << "255 characters in quotes";
}

TEST(LinkTargets, SplitsProgramLinksAndSniffsContent)
{
    TProgramLink link = SplitProgramLink("cgi/x.EXE?two words");
    EXPECT_EQ(link.program, "cgi/x.EXE");
    EXPECT_EQ(link.arguments, "two words");
    EXPECT_EQ(SplitProgramLink("run.sh?a?b").arguments, "a?b");
    EXPECT_EQ(SplitProgramLink("plain.htm").program, "plain.htm");
    EXPECT_EQ(SplitProgramLink("x.exe?" + std::string(400, 'a')).arguments.size(), 255u);

    EXPECT_EQ(LinkExtension("Page.HTM#Top"), ".htm");
    EXPECT_EQ(LinkExtension("a.dir/file"), "");
    EXPECT_EQ(SniffFileContent("<html>", ".cgi"), TFileContent::Document);
    EXPECT_EQ(SniffFileContent("plain words", ".txt"), TFileContent::Document);
    EXPECT_EQ(SniffFileContent("GIF89a....", ".gif"), TFileContent::Picture);
    EXPECT_EQ(SniffFileContent("GIF89a....", ".dat"), TFileContent::Document) << "not shown as a picture by name";
    EXPECT_EQ(SniffFileContent(std::string("\x89PNG\r\n\x1a\n\0", 9), ".bin"), TFileContent::Other);
    EXPECT_EQ(SniffFileContent("%PDF-1.4", ".pdf"), TFileContent::Other);
    EXPECT_EQ(SniffFileContent("RIFF....WAVE", ".wav"), TFileContent::Other);
    EXPECT_EQ(SniffFileContent(std::string("ab\0cd", 5), ".txt"), TFileContent::Other);
}
