#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <filesystem>
#include <functional>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "AppTestSupport.h"
#include "LinkTestSupport.h"
#include "app/TFormSubmitter.h"
#include "app/TProgramGate.h"
#include "app/TSearchPage.h"
#include "html/viewer/TFrameViewer.h"
#include "util/TCollection.h"
#include "util/TIniFile.h"

namespace fs = std::filesystem;
using TRunChoice = TUserPrompts::TRunChoice;

namespace {

std::string slurp(const std::string& path)
{
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Sets an environment variable for a scope.
struct TScopedVariable {
    TScopedVariable(const char* name, const std::string& value)
        : name(name)
    {
        ::setenv(name, value.c_str(), 1);
    }
    ~TScopedVariable() { ::unsetenv(name); }
    const char* name;
};

// The program folder (the test's folder) is the collection; "outside" is a
// folder elsewhere, as a download folder would be.
class ProgramGate : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        write("KOVRA32.INI", "");
        write("page.htm", "<title>Page</title><p>links");
        fs::create_directory(file("cgi"));
        program("cgi/log.exe", "log.txt");
        reopen();
    }
    void TearDown() override
    {
        window.reset();
        AppTest::TearDown();
    }
    // A new window (it reads the access file when it is made), on page.htm.
    void reopen()
    {
        window.reset();
        window = std::make_unique<TLinkTestWindow>();
        window->show();
        open(file("page.htm"));
    }
    void open(const std::string& page) { window->LoadHTMLFile(QString::fromStdString(page)); }
    void click(const std::string& url)
    {
        window->Viewer()->FrameLinkClick(*window->Viewer()->ActiveView(), url);
    }
    bool handledBy(const std::string& url)
    {
        bool handled = false;
        window->findChild<TLinkDispatcher*>()->HotSpotTargetClick("", url, handled);
        return handled;
    }
    void submit(const std::string& action)
    {
        auto* submitter = window->findChild<TFormSubmitter*>();
        submitter->Submit(window->Viewer()->ActiveView(), action);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !submitter->Running(); }, 5000));
    }
    // A program that writes its arguments into a file (replacing it).
    static void script(const std::string& path, const std::string& log)
    {
        std::ofstream(path) << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" << log << "'\n";
        ::chmod(path.c_str(), 0755);
    }
    void program(const char* name, const char* log) { script(file(name), file(log)); }
    std::string waitFor(const char* name)
    {
        static_cast<void>(QTest::qWaitFor([&] { return !read(name).empty(); }, 3000));
        return read(name);
    }
    std::string outsideFile(const char* name) const { return (outside.path() + "/" + name).toStdString(); }
    std::string real(const char* name) const { return RealPath(file(name)); }
    TRecordingPrompts& prompts() { return *window->prompts; }
    // Whether one of the errors shown names the text.
    bool toldAbout(const QString& text) const
    {
        return std::any_of(window->prompts->errors.begin(), window->prompts->errors.end(),
            [&](const QString& error) { return error.contains(text); });
    }

    QTemporaryDir outside;
    std::unique_ptr<TLinkTestWindow> window;
};

} // namespace

TEST_F(ProgramGate, SystemProgramsAndProgramsOutsideTheCollectionAreRefused)
{
    prompts().runAnswer = TRunChoice::RunOnce; // a reader who agrees to everything asked
    std::string marker = outsideFile("hacked");
    std::string evil = outsideFile("evil.exe");
    script(evil, marker);
    fs::create_symlink(evil, file("cgi/up.exe"));

    click("/usr/bin/python3?-cimport os;os.system('touch " + marker + "-python')");
    click("../../../../../../../../usr/bin/env?-Ssh -c 'touch " + marker + "-env'");
    EXPECT_TRUE(
        handledBy("QXBATCH?/usr/bin/x.exe/../python3|-cimport os;os.system('touch " + marker + "-batch')"));
    click(evil + "?absolute");
    click("cgi/up.exe?through a link");
    click("file://" + evil + "?as a URL");

    // Nothing started, nobody was asked, and each refusal named its program.
    QTest::qWait(1500);
    for (const char* suffix : {"", "-python", "-env", "-batch"})
        EXPECT_FALSE(fs::exists(marker + suffix)) << suffix;
    EXPECT_TRUE(prompts().askedPrograms.isEmpty()) << prompts().askedPrograms.join(";").toStdString();
    EXPECT_TRUE(toldAbout("\"/usr/bin/python3\" was not started: it is one of the system's programs"))
        << prompts().errors.join("\n").toStdString();
    EXPECT_TRUE(toldAbout("\"../../../../../../../../usr/bin/env\" was not started"));
    EXPECT_TRUE(toldAbout("\"/usr/bin/x.exe/../python3\" was not started"));
    EXPECT_TRUE(toldAbout(QString::fromStdString(
        "\"" + evil + "\" was not started: " + RealPath(evil) + " is not part of the document collection")));
    EXPECT_TRUE(toldAbout("\"cgi/up.exe\" was not started"));
    EXPECT_EQ(prompts().errors.size(), 6) << prompts().errors.join("\n").toStdString();
}

TEST_F(ProgramGate, ADownloadedPageStartsNothingBesideIt)
{
    prompts().runAnswer = TRunChoice::RunOnce;
    std::string marker = outsideFile("ran");
    script(outsideFile("run.sh"), marker);
    std::ofstream(outsideFile("page.htm"))
        << "<title>Downloaded</title><form action=\"run.sh\"><input name=a value=1>"
           "</form>";
    open(outsideFile("page.htm"));
    ASSERT_EQ(window->CurrentFile().toStdString(), outsideFile("page.htm"));
    click("run.sh?x");
    click("QXBATCH?run.exe/../run.sh|x");
    submit("run.sh");
    QTest::qWait(500);
    EXPECT_FALSE(fs::exists(marker));
    EXPECT_TRUE(prompts().askedPrograms.isEmpty());
    ASSERT_EQ(prompts().errors.size(), 3) << prompts().errors.join("\n").toStdString();
    for (const QString& error : prompts().errors) {
        EXPECT_TRUE(error.contains("\"run.sh\" was not started: the page ")
            || error.contains("\"run.exe/../run.sh\""))
            << error.toStdString();
        EXPECT_TRUE(error.contains("is not part of the document collection")) << error.toStdString();
    }
}

TEST_F(ProgramGate, FormsNeverHandTheirValuesToAShellOrInterpreter)
{
    prompts().runAnswer = TRunChoice::RunOnce;
    std::string marker = outsideFile("form");
    // The values written to the parameter file are a script for whatever reads it.
    write("shell.htm",
        "<title>Shell</title><form action=sh><input name=x value=\"1;touch " + marker + "-sh\"></form>");
    write("python.htm",
        "<title>Python</title><form action=/usr/bin/python3><input name=\"import os;open('" + marker
            + "-py','w');x\" value=1></form>");
    open(file("shell.htm"));
    submit("sh");
    open(file("python.htm"));
    submit("/usr/bin/python3");
    QTest::qWait(500);
    EXPECT_FALSE(fs::exists(marker + "-sh")) << "\"sh\" is no program of the page's folder";
    EXPECT_FALSE(fs::exists(marker + "-py"));
    EXPECT_EQ(prompts().errors,
        QStringList({"\"sh\" was not started: the page's folder has no program of that name, "
                      "and forms never start programs found elsewhere (on PATH).",
            "\"/usr/bin/python3\" was not started: it is one of the system's "
            "programs ("
                + QString::fromStdString(RealPath("/usr/bin/python3"))
                + "), not part of the document collection."}));
    EXPECT_TRUE(prompts().askedPrograms.isEmpty());
    EXPECT_EQ(window->CurrentFile().toStdString(), file("python.htm")) << "no answer page";
}

TEST_F(ProgramGate, TheReaderIsAskedBeforeACollectionsProgramStarts)
{
    click("cgi/log.exe?two words");
    ASSERT_EQ(prompts().askedPrograms, QStringList({QString::fromStdString(real("cgi/log.exe"))}));
    EXPECT_EQ(prompts().askedArguments, QStringList({"two words"}));
    EXPECT_EQ(prompts().askedFolders, QStringList({QString::fromStdString(real("cgi"))}));
    EXPECT_TRUE(prompts().errors.isEmpty()) << "saying no needs no message";

    prompts().runAnswer = TRunChoice::RunOnce;
    click("cgi/log.exe?once");
    EXPECT_EQ(waitFor("log.txt"), "1|once|");
    click("cgi/log.exe?again");
    EXPECT_EQ(prompts().askedPrograms.size(), 3) << "\"Run once\" is for that one start";
    EXPECT_TRUE(QTest::qWaitFor([&] { return read("log.txt") == "1|again|"; }, 3000));

    // One question for all programs of one batch.
    program("cgi/two.exe", "two.txt");
    program("cgi/three.exe", "three.txt");
    EXPECT_TRUE(handledBy("QXBATCH?cgi/two.exe|first&cgi/three.exe|second"));
    EXPECT_EQ(waitFor("two.txt"), "1|first|");
    EXPECT_EQ(waitFor("three.txt"), "1|second|");
    EXPECT_EQ(prompts().askedPrograms.size(), 4);

    prompts().runAnswer = TRunChoice::Always;
    fs::remove(file("log.txt"));
    click("cgi/log.exe?always");
    EXPECT_EQ(waitFor("log.txt"), "1|always|");
    TIniFile settings(file("KOVRA32.INI"));
    EXPECT_EQ(settings.ReadString(TProgramGate::TrustSection, "Folder1", ""), real(""));

    // Kept in the settings file: no more questions for this collection, even in a new window.
    prompts().runAnswer = TRunChoice::DontRun;
    reopen();
    fs::remove(file("log.txt"));
    click("cgi/log.exe?trusted");
    EXPECT_EQ(waitFor("log.txt"), "1|trusted|");
    EXPECT_TRUE(prompts().askedPrograms.isEmpty());
    // ... and forms of the collection alike.
    write("form.htm", "<title>Form</title><form action=cgi/log.exe><input name=a value=1></form>");
    open(file("form.htm"));
    fs::remove(file("log.txt"));
    submit("cgi/log.exe");
    EXPECT_TRUE(read("log.txt").starts_with("1|")) << read("log.txt");
    EXPECT_TRUE(prompts().errors.isEmpty()) << prompts().errors.join("\n").toStdString();
}

TEST_F(ProgramGate, APublishersAccessFileTrustsItsOwnCollection)
{
    write("QLACCESS.INI", std::string("[Advance]\n") + TProgramGate::AccessTrustKey + "=1\n");
    reopen();
    click("cgi/log.exe?kiosk");
    EXPECT_EQ(waitFor("log.txt"), "1|kiosk|");
    EXPECT_TRUE(prompts().askedPrograms.isEmpty()) << "no question on a kiosk";

    // A page the reader was started on elsewhere is no part of what the publisher vouched for.
    script(outsideFile("local.exe"), outsideFile("local.txt"));
    std::ofstream(outsideFile("start.htm")) << "<title>Start</title>";
    window.reset();
    window = std::make_unique<TLinkTestWindow>();
    window->FirstActivation({QString::fromStdString(outsideFile("start.htm"))});
    ASSERT_EQ(window->StartDocument().toStdString(), outsideFile("start.htm"));
    click("local.exe?x");
    EXPECT_EQ(
        prompts().askedPrograms, QStringList({QString::fromStdString(RealPath(outsideFile("local.exe")))}))
        << "a program of the start folder is the collection's, but asked about";
}

TEST_F(ProgramGate, PagesTheProgramGeneratedOnlyOpenDocuments)
{
    prompts().runAnswer = TRunChoice::RunOnce;
    const std::string page = "<title>Hits</title><a href=\"cgi/log.exe?x\">guide.htm</a>"
                             "<form action=cgi/log.exe><input name=a value=1></form>";
    std::string results = window->SearchPage()->ResultFile().toStdString();
    ASSERT_FALSE(results.empty());
    std::ofstream(results) << page;
    write("KOVRAMSG.HTM", page);
    for (const std::string& generated : {results, file("KOVRAMSG.HTM")}) {
        open(generated);
        ASSERT_EQ(window->CurrentFile().toStdString(), generated);
        click("cgi/log.exe?x");
        click("QXBATCH?cgi/log.exe|from a batch&reading|page.htm");
        submit("cgi/log.exe");
    }
    QTest::qWait(500);
    EXPECT_EQ(read("log.txt"), "");
    EXPECT_TRUE(prompts().askedPrograms.isEmpty());
    QStringList expected;
    for (int i = 0; i < 2; ++i)
        expected
            << "\"cgi/log.exe\" was not started: pages this program generated (search results, messages) "
               "only "
               "open documents."
            << "The batch link was not carried out: pages this program generated (search results, messages) "
               "only open documents."
            << "\"cgi/log.exe\" was not started: pages this program generated (search results, messages) "
               "only "
               "open documents.";
    EXPECT_EQ(prompts().errors, expected);

    // Its links to documents still open them.
    open(results);
    click("page.htm");
    EXPECT_EQ(window->CurrentFile().toStdString(), file("page.htm"));
}

// Generated links mixing "..", ".exe", "?", "|", "%" escapes, symbolic links
// and absolute paths: whatever they resolve to, no program outside the
// collection is asked about or started.
TEST_F(ProgramGate, GeneratedHrefsNeverReachAProgramOutsideTheCollection)
{
    prompts().runAnswer = TRunChoice::RunOnce;
    std::string marker = outsideFile("escaped");
    script(outsideFile("evil.exe"), marker);
    script(outsideFile("tool"), marker);
    fs::create_symlink(outsideFile("evil.exe"), file("cgi/up.exe"));
    fs::create_directory_symlink(outside.path().toStdString(), file("cgi/away"));
    fs::create_directory_symlink("/usr/bin", file("cgi/sys"));
    write("cgi/quiet.exe", "#!/bin/sh\n");
    ::chmod(file("cgi/quiet.exe").c_str(), 0755);

    std::string here = file("");
    std::string away = outside.path().toStdString() + "/";
    std::string outsideName = away.substr(away.rfind('/', away.size() - 2) + 1);
    const std::vector<std::string> starts{"", "/", "./", "../", "../../../../../../../", "cgi/", "CGI/",
        "cgi/x.exe/../", "cgi/away/", "cgi/sys/", "%2e%2e/", "%2E%2E%2F", "..%2f", "file://", "file:///C|/",
        "C:\\", "..\\..\\", here, away, "file://" + away, "cgi/../../" + outsideName, "/usr/bin/", "/bin/",
        "%2fusr%2fbin%2f", "./cgi/", "cgi\\", here + "cgi/", "file://" + here + "cgi/", "cgi/away/../../cgi/",
        "cgi%2f", "cgi/sys/../"};
    const std::vector<std::string> names{"quiet.exe", "log.exe", "up.exe", "evil.exe", "tool", "python3",
        "env", "sh", "x.exe", "QUIET.EXE", "quiet.exe/../up.exe", "up.exe/..", "%65vil.exe", "evil%2eexe",
        "..", "log.exe%00", ""};
    const std::vector<std::string> tails{"", "?", "?arg", "?-c 'touch " + marker + "'", "|x", "?a|b",
        "%3Fx", "#top", ".exe", ".exe?x", "/../evil.exe", "?x&y|z"};
    std::mt19937 random(20261208);
    auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
    auto href = [&] { return pick(starts) + pick(names) + pick(tails); };

    std::string collection = RealPath(here);
    int asked = 0;
    for (int i = 0; i < 1000; ++i) {
        std::string url = href();
        if (random() % 4 == 0) // a batch of two or three items
            url = "QXBATCH?" + href() + "|" + pick(tails) + "&" + href() + "|one&" + href();
        if (window->CurrentFile().toStdString() != file("page.htm"))
            open(file("page.htm"));
        handledBy(url);
        for (; asked < prompts().askedPrograms.size(); ++asked) {
            std::string program = prompts().askedPrograms[asked].toStdString();
            EXPECT_TRUE(PathWithin(program, collection)) << url << " asked about " << program;
            EXPECT_FALSE(InSystemProgramFolder(program)) << url;
        }
    }
    EXPECT_GT(asked, 20) << "the collection's own programs were among them";
    QTest::qWait(1000);
    EXPECT_FALSE(fs::exists(marker));
}

TEST_F(ProgramGate, TheSampleCollectionStartsItsOwnPrograms)
{
    // As the run command starts it: the program folder elsewhere, the sample
    // given on the command line.
    QTemporaryDir session;
    ::chmod(session.path().toUtf8().constData(), 0700);
    std::string runtime = session.path().toStdString();
    TScopedVariable privateFolder("XDG_RUNTIME_DIR", runtime);
    const std::string sample = QUILLON_SOURCE_DIR "/sample/";
    window.reset();
    window = std::make_unique<TLinkTestWindow>();
    window->prompts->runAnswer = TRunChoice::RunOnce;
    window->FirstActivation({QString::fromStdString(sample + "links.htm")});
    ASSERT_EQ(RealPath(window->CurrentFile().toStdString()), RealPath(sample + "links.htm"));

    click("cgi/logbook.exe?fog bell");
    std::string log = runtime + "/gullstone/logbook.txt";
    EXPECT_TRUE(QTest::qWaitFor([&] { return slurp(log).find("[fog bell]") != std::string::npos; }, 3000))
        << slurp(log);
    EXPECT_EQ(prompts().askedFolders, QStringList({QString::fromStdString(RealPath(sample + "cgi"))}));

    window->LoadHTMLFile(QString::fromStdString(sample + "form.htm"));
    submit("cgi/echo.sh");
    EXPECT_EQ(window->windowTitle(), "Thank you - Visitor's Book - Quillon");
    EXPECT_TRUE(prompts().errors.isEmpty()) << prompts().errors.join("\n").toStdString();
}

// The sample's program link appends to a log: never through a link someone
// planted in a shared temporary folder.
TEST(SampleLogbook, WritesOnlyIntoAPrivateFolderOfItsOwn)
{
    QTemporaryDir shared;
    const std::string tmp = shared.path().toStdString() + "/";
    const std::string victim = tmp + "victim";
    std::ofstream(victim) << "keep\n";
    auto run = [&](const std::string& argument) {
        std::string command = "env -u XDG_RUNTIME_DIR TMPDIR='" + tmp
            + "' '" QUILLON_SOURCE_DIR "/sample/cgi/logbook.exe' '" + argument + "' 2>/dev/null";
        return std::system(command.c_str());
    };
    const std::string folder = tmp + "gullstone-" + std::to_string(::getuid());

    // The name earlier versions wrote to, planted as a link.
    fs::create_symlink(victim, tmp + "gullstone-logbook.txt");
    EXPECT_EQ(run("fog bell"), 0);
    EXPECT_EQ(slurp(folder + "/logbook.txt").find("[fog bell]") != std::string::npos, true);
    struct stat info {};
    ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // The log itself planted as a link.
    fs::remove(folder + "/logbook.txt");
    fs::create_symlink(victim, folder + "/logbook.txt");
    EXPECT_NE(run("second"), 0);

    // The folder planted as a link, or made by someone else.
    fs::remove_all(folder);
    QTemporaryDir elsewhere;
    fs::create_directory_symlink(elsewhere.path().toStdString(), folder);
    EXPECT_NE(run("third"), 0);
    EXPECT_TRUE(fs::is_empty(elsewhere.path().toStdString()));
    if (::getuid() == 0) {
        fs::remove(folder);
        fs::create_directory(folder);
        ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
        EXPECT_NE(run("fourth"), 0);
        EXPECT_TRUE(fs::is_empty(folder));
    }
    EXPECT_EQ(slurp(victim), "keep\n");
}

// The real question: its three buttons, and Enter (the default) or Escape never run anything.
TEST(RunQuestion, NamesTheProgramAndDefaultsToDontRun)
{
    TUserPrompts prompts(nullptr);
    auto answerWith = [](std::function<void(QMessageBox&)> act) {
        QTimer::singleShot(0, [act] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible())
                    act(*box);
        });
    };
    QStringList buttons;
    QString text;
    answerWith([&](QMessageBox& box) {
        for (QAbstractButton* button : box.buttons())
            buttons << button->text();
        text = box.informativeText();
        QTest::keyClick(&box, Qt::Key_Return);
    });
    EXPECT_EQ(prompts.AskRunProgram("/books/cgi/logbook.exe", "fog bell", "/books/cgi/"), TRunChoice::DontRun);
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"Always for this collection", "Don't run", "Run once"}));
    EXPECT_TRUE(text.contains("/books/cgi/logbook.exe") && text.contains("fog bell") && text.contains("/books/cgi/"))
        << text.toStdString();

    answerWith([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(prompts.AskRunProgram("/books/cgi/logbook.exe", "", "/books/cgi/"), TRunChoice::DontRun);
    answerWith([](QMessageBox& box) {
        for (QAbstractButton* button : box.buttons())
            if (button->text() == "Always for this collection")
                button->click();
    });
    EXPECT_EQ(prompts.AskRunProgram("/books/cgi/logbook.exe", "", "/books/cgi/"), TRunChoice::Always);
}
