#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "AppTestSupport.h"
#include "LinkTestSupport.h"
#include "app/TFormSubmitter.h"
#include "html/layout/TCheckBoxFormControlObj.h"
#include "html/layout/TFormControlObj.h"
#include "html/layout/TSectionList.h"
#include "html/layout/ThtmlForm.h"
#include "html/viewer/TFrameViewer.h"
#include "util/ProgramFolder.h"
#include "util/Utilities.h"

namespace {

const char* const FormPage = R"(<title>Form</title>
<form action="cgi/answer.sh">
<input type=hidden name=book value=1998>
<input name=visitor value="Ann">
<input type=password name=secret value="wickie">
<input type=checkbox name=tower value=yes checked>
<input type=checkbox name=cottage value=yes>
<input type=radio name=travel value=car checked><input type=radio name=travel value=bus>
<select name=month><option value=7 selected>July</select>
<textarea name=comments>x</textarea>
<input type=submit value=Sign>
</form>)";

class FormSubmit : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        previous = std::filesystem::current_path();
        write("form.htm", FormPage);
        std::filesystem::create_directory(file("cgi"));
        script("cgi/answer.sh", "#!/bin/sh\necho \"<title>Answer</title><p>$#\"\ncat \"$1\"\n");
        window = std::make_unique<TLinkTestWindow>();
        window->prompts->runAnswer = TUserPrompts::TRunChoice::RunOnce;
        window->show();
        window->LoadHTMLFile(QString::fromStdString(file("form.htm")));
        submitter = window->findChild<TFormSubmitter*>();
    }
    void TearDown() override
    {
        window.reset();
        std::filesystem::current_path(previous);
        AppTest::TearDown();
    }
    void script(const char* name, const std::string& text)
    {
        write(name, text);
        ::chmod(file(name).c_str(), 0755);
    }
    THTMLViewer* view() { return window->Viewer()->ActiveView(); }
    TFormControlObj& control(size_t index) { return *view()->SectionList().Objects.Forms()[0]->ControlList()[index]; }
    void submit(const std::string& action)
    {
        submitter->Submit(view(), action);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !submitter->Running(); }, 5000)) << "the program is still running";
    }

    std::filesystem::path previous;
    std::unique_ptr<TLinkTestWindow> window;
    TFormSubmitter* submitter = nullptr;
};

} // namespace

TEST_F(FormSubmit, ParameterFileHoldsEditsAndCheckedChoicesOnly)
{
    control(1).SetValue(0, "Ann Lee");
    control(8).SetValue(0, "first line\nsecond line\nthird line");
    std::vector<std::string> expected{"visitor=Ann Lee", "secret=wickie", "tower=yes", "travel=car",
                                      "comments=first line\\nsecond line\\nthird line"};
    EXPECT_EQ(TFormSubmitter::ParameterLines(view()->SectionList()), expected);
    submit("cgi/answer.sh");
    std::string folder = submitter->RunFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(window->CurrentFile().toStdString(), folder + "output.cgi");
    EXPECT_EQ(window->windowTitle(), "Answer - Quillon") << "the answer page shows in the submitting view";
    std::ifstream in(folder + "params.cgi");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "visitor=Ann Lee\nsecret=wickie\ntower=yes\ntravel=car\ncomments=first line\\nsecond "
                    "line\\nthird line\n");
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(EnsureBackslash(view()->ServerRoot()), file("")) << "links of the answer page resolve against the collection";

    // The next submission starts in a fresh folder and clears the last one away.
    window->LoadHTMLFile(QString::fromStdString(file("form.htm")));
    submit("cgi/answer.sh");
    EXPECT_NE(submitter->RunFolder(), folder);
    EXPECT_FALSE(std::filesystem::exists(folder));
    std::string last = submitter->RunFolder();
    window.reset();
    EXPECT_FALSE(std::filesystem::exists(last)) << "closing the window clears the last folder";
}

TEST_F(FormSubmit, FormValuesAKilledReaderLeftAreClearedAtTheNextStart)
{
    std::string parent = PrivateTempDir();
    ASSERT_FALSE(parent.empty());
    pid_t killed = ::fork();
    if (killed == 0)
        ::_exit(0);
    ::waitpid(killed, nullptr, 0);
    std::string stale = parent + "run-" + std::to_string(killed) + "-Ab12Cd/";
    std::filesystem::create_directory(stale);
    std::ofstream(stale + "params.cgi") << "secret=wickie\n";
    submit("cgi/answer.sh");
    std::string current = submitter->RunFolder();
    TLinkTestWindow next;
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(current)) << "the running reader's own folder stays";
}

TEST_F(FormSubmit, ProgramThatNeverEndsIsStoppedByEscape)
{
    script("cgi/forever.sh", "#!/bin/sh\necho '<title>Late</title>'\necho $$ > \"$1.pid\"\nexec sleep 300\n");
    submitter->Submit(view(), "cgi/forever.sh");
    ASSERT_TRUE(submitter->Running());
    auto* stop = window->findChild<QPushButton*>("BT_StopForm");
    ASSERT_NE(stop, nullptr);
    EXPECT_TRUE(stop->isVisible());
    QTest::qWait(100);
    EXPECT_TRUE(submitter->Running()) << "the window answers while the program runs";
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(submitter->Running());
    EXPECT_FALSE(stop->isVisible());
    QTest::qWait(100);
    EXPECT_EQ(window->CurrentFile().toStdString(), file("form.htm")) << "a stopped program shows nothing";

    // The Stop button does the same.
    submitter->Submit(view(), "cgi/forever.sh");
    ASSERT_TRUE(submitter->Running());
    stop->click();
    EXPECT_FALSE(submitter->Running());

    // Closing the window ends a program still running and clears its folder.
    submitter->Submit(view(), "cgi/forever.sh");
    ASSERT_TRUE(submitter->Running());
    std::string folder = submitter->RunFolder();
    std::string pidFile = folder + "params.cgi.pid";
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(pidFile); }, 3000)) << pidFile;
    std::ifstream in(pidFile);
    int pid = 0;
    in >> pid;
    ASSERT_GT(pid, 0);
    window.reset();
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_NE(::kill(pid, 0), 0) << "the program was ended and collected";
}

TEST_F(FormSubmit, ActionsThatCannotRunShowNothing)
{
    submit("cgi/missing.sh");
    EXPECT_FALSE(submitter->Running());
    EXPECT_TRUE(window->prompts->errors.isEmpty()) << "a missing program answers nothing";
    submit("cgi");
    submit("");
    EXPECT_EQ(window->CurrentFile().toStdString(), file("form.htm"));
    EXPECT_TRUE(window->errors.isEmpty()) << window->errors.join(";").toStdString();
}

TEST(BackgroundSound, LoopCountsAndOwnership)
{
    auto background = std::make_unique<TRecordingSound>();
    TRecordingSound& out = *background;
    TSoundPlayer player(std::move(background), std::make_unique<TRecordingSound>());
    int first = 0, second = 0;

    player.Request(&first, "/s/bell.wav", 3, false);
    player.Request(&second, "/s/other.wav", 1, false); // ignored while the first plays
    out.OnPlayed();
    out.OnPlayed();
    EXPECT_TRUE(player.Playing());
    out.OnPlayed();
    EXPECT_EQ(out.played, std::vector<std::string>(3, "/s/bell.wav")) << "loop=3 rings three times";
    EXPECT_FALSE(player.Playing());

    player.Request(&first, "/s/once.wav", 0, false);
    out.OnPlayed();
    EXPECT_EQ(out.played.size(), 4u) << "loop=0 rings once";
    EXPECT_FALSE(player.Playing());

    player.Request(&first, "/s/always.wav", -1, false);
    for (int i = 0; i < 50; ++i)
        out.OnPlayed();
    EXPECT_TRUE(player.Playing()) << "a negative count keeps ringing";
    player.Request(&second, "", 0, true);
    EXPECT_TRUE(player.Playing()) << "only the owner ends its sound";
    player.Request(&first, "", 0, true);
    EXPECT_FALSE(player.Playing());

    // A sound that cannot play leaves the player free for the next one.
    out.works = false;
    player.Request(&first, "/s/missing.wav", 3, false);
    EXPECT_FALSE(player.Playing());
}

TEST_F(FormSubmit, DocumentBackgroundSoundPlaysItsCountAndStopsWithTheView)
{
    write("bell.htm", "<title>Bell</title><bgsound src=\"sounds/bell.wav\" loop=3><p>bell");
    write("quiet.htm", "<title>Quiet</title><bgsound src=\"sounds/other.wav\">");
    window->LoadHTMLFile(QString::fromStdString(file("bell.htm")));
    TRecordingSound& out = *window->background;
    ASSERT_EQ(out.played.size(), 1u);
    EXPECT_EQ(out.played[0], file("sounds/bell.wav"));
    out.OnPlayed();
    out.OnPlayed();
    EXPECT_EQ(out.played.size(), 3u);
    // Going elsewhere ends the sound; the next page's sound then plays.
    window->LoadHTMLFile(QString::fromStdString(file("quiet.htm")));
    ASSERT_EQ(out.played.size(), 4u);
    EXPECT_EQ(out.played.back(), file("sounds/other.wav"));
    EXPECT_GE(out.stops, 1);
}
