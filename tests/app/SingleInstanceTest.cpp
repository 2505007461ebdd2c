#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "AppTestSupport.h"
#include "app/TfrmVerifier.h"

namespace {

mode_t modeOf(const QString& path)
{
    struct stat info {};
    return ::stat(path.toUtf8().constData(), &info) == 0 ? info.st_mode : 0;
}

// The running copy answers from its own event loop, as it does in its own
// process; the second copy in the test's thread blocks while it waits.
class RunningCopy {
public:
    explicit RunningCopy(const QString& name) : FVerifier(std::make_unique<TfrmVerifier>(nullptr, name)) {}
    ~RunningCopy()
    {
        FThread.quit();
        FThread.wait();
    }
    bool Start()
    {
        if (!FVerifier->BecomeRunningCopy(""))
            return false;
        QObject::connect(FVerifier.get(), &TfrmVerifier::HandOver, &FReceiver,
                         [this](const QString& text) { FTexts << text; }, Qt::QueuedConnection);
        FVerifier->moveToThread(&FThread);
        FThread.start();
        return true;
    }
    bool IsListening() const { return FVerifier->IsListening(); }
    // The next text handed over, or empty after a while.
    QString Next(int ms = 3000)
    {
        QElapsedTimer clock;
        clock.start();
        while (FTexts.isEmpty() && clock.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return FTexts.isEmpty() ? QString() : FTexts.takeFirst();
    }

private:
    QThread FThread;
    QObject FReceiver;
    QStringList FTexts;
    std::unique_ptr<TfrmVerifier> FVerifier; // destroyed before the thread object, after it stopped
};

} // namespace

using SingleInstance = AppTest;

TEST_F(SingleInstance, SecondCopyHandsOverItsTrimmedArgumentOrAnEmptyText)
{
    QString name = dir.path() + "/rendezvous";
    RunningCopy first(name);
    ASSERT_TRUE(first.Start());
    EXPECT_TRUE(first.IsListening());

    TfrmVerifier second(nullptr, name);
    EXPECT_FALSE(second.BecomeRunningCopy("  other page.htm "));
    EXPECT_EQ(first.Next(), "DadoRiVad:other page.htm");
    EXPECT_FALSE(second.IsListening());

    TfrmVerifier third(nullptr, name);
    EXPECT_FALSE(third.BecomeRunningCopy(""));
    EXPECT_EQ(first.Next(), "DadoRiVad:");
}

TEST_F(SingleInstance, StaleSocketOfACrashedCopyIsTakenOver)
{
    QString name = dir.path() + "/rendezvous";
    // A socket file nobody listens on, as a crashed copy leaves it.
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", name.toUtf8().constData());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);

    RunningCopy restarted(name);
    EXPECT_TRUE(restarted.Start());
    EXPECT_TRUE(restarted.IsListening());
    TfrmVerifier later(nullptr, name);
    EXPECT_FALSE(later.BecomeRunningCopy("x.htm"));
    EXPECT_EQ(restarted.Next(), "DadoRiVad:x.htm");
}

TEST_F(SingleInstance, HungCopyIsNotWaitedForAndKeepsItsSocket)
{
    // A listener that never runs its event loop while the second copy waits:
    // the kernel accepts the connection, but nobody ever answers.
    QString name = dir.path() + "/rendezvous";
    QLocalServer hung;
    ASSERT_TRUE(hung.listen(name));

    TfrmVerifier second(nullptr, name);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(second.BecomeRunningCopy("mine.htm"));
    EXPECT_LT(clock.elapsed(), 2500);
    EXPECT_FALSE(second.IsListening());

    // The hung copy's socket is still its own, and it was not handed the
    // document when it finally looks at the connection.
    EXPECT_TRUE(hung.isListening());
    ASSERT_TRUE(hung.waitForNewConnection(1000));
    QLocalSocket* leftover = hung.nextPendingConnection();
    ASSERT_NE(leftover, nullptr);
    leftover->waitForReadyRead(200);
    EXPECT_FALSE(leftover->readAll().contains("mine.htm"));
}

TEST_F(SingleInstance, CallersThatSendNoHandOverTextAreIgnored)
{
    QString name = dir.path() + "/rendezvous";
    RunningCopy first(name);
    ASSERT_TRUE(first.Start());

    QLocalSocket stranger;
    stranger.connectToServer(name);
    ASSERT_TRUE(stranger.waitForConnected(1000));
    stranger.write(QByteArray("open /etc/passwd") + '\0');
    stranger.flush();
    QLocalSocket silent;
    silent.connectToServer(name);
    ASSERT_TRUE(silent.waitForConnected(1000));
    silent.abort();
    QLocalSocket endless;
    endless.connectToServer(name);
    ASSERT_TRUE(endless.waitForConnected(1000));
    endless.write(QByteArray("DadoRiVad:") + QByteArray(100 * 1024, 'x'));
    endless.waitForBytesWritten(1000);
    EXPECT_EQ(first.Next(500), QString());

    // The running copy still serves after them.
    TfrmVerifier second(nullptr, name);
    EXPECT_FALSE(second.BecomeRunningCopy("after.htm"));
    EXPECT_EQ(first.Next(), "DadoRiVad:after.htm");
}

TEST_F(SingleInstance, RendezvousIsScopedToDisplayAndProgramFolder)
{
    // ":0" and ":0.0" are one display; an offscreen run never meets a copy on X.
    EXPECT_EQ(TfrmVerifier::DisplayKey("xcb", ":0.0", ""), TfrmVerifier::DisplayKey("xcb", ":0", ""));
    EXPECT_NE(TfrmVerifier::DisplayKey("xcb", ":0", ""), TfrmVerifier::DisplayKey("xcb", ":1", ""));
    EXPECT_NE(TfrmVerifier::DisplayKey("offscreen", ":0", ""), TfrmVerifier::DisplayKey("xcb", ":0", ""));
    EXPECT_NE(TfrmVerifier::DisplayKey("wayland", ":0", "wayland-0"),
              TfrmVerifier::DisplayKey("wayland", ":0", "wayland-1"));

    QTemporaryDir other;
    std::string here = dir.path().toStdString() + "/";
    QString x0 = TfrmVerifier::DisplayKey("xcb", ":0", "");
    QString name = TfrmVerifier::ServerName("/run/user/1", x0, here);
    EXPECT_TRUE(name.startsWith(QStringLiteral("/run/user/1/DadoRiVad-%1-").arg(::getuid()))) << name.toStdString();
    EXPECT_EQ(name, TfrmVerifier::ServerName("/run/user/1", x0, dir.path().toStdString()));
    EXPECT_NE(name, TfrmVerifier::ServerName("/run/user/1", TfrmVerifier::DisplayKey("xcb", ":1", ""), here));
    EXPECT_NE(name, TfrmVerifier::ServerName("/run/user/1", x0, other.path().toStdString()));
}

TEST_F(SingleInstance, DefaultSocketIsOwnerOnlyInThePrivateRuntimeFolder)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QString name = TfrmVerifier::DefaultServerName();
    {
        TfrmVerifier first;
        EXPECT_EQ(first.serverName(), name);
        EXPECT_TRUE(name.startsWith(runtime.path() + "/DadoRiVad-")) << name.toStdString();
        ASSERT_TRUE(first.BecomeRunningCopy(""));
        mode_t mode = modeOf(name);
        EXPECT_TRUE(S_ISSOCK(mode));
        EXPECT_EQ(mode & (S_IRWXG | S_IRWXO), 0u);
    }
    // This test run's program folder is private, so nothing a person runs shares the name.
    ::setenv("QUILLON_PROGRAM_DIR", "/usr/bin", 1);
    EXPECT_NE(TfrmVerifier::DefaultServerName(), name);
    qputenv("XDG_RUNTIME_DIR", saved);
    if (saved.isEmpty())
        qunsetenv("XDG_RUNTIME_DIR");
}

// The real program, started the way a user starts it, offscreen and with a
// program folder and runtime folder of its own.
class SingleInstanceProgram : public AppTest {
protected:
    void TearDown() override
    {
        // A copy that has ended has no id: kill(0, ...) would signal every
        // process of the group, other tests' stopped copies among them.
        for (auto& p : processes) {
            if (p->processId() <= 0)
                continue;
            ::kill(pid_t(p->processId()), SIGCONT);
            p->kill();
            p->waitForFinished(2000);
        }
        AppTest::TearDown();
    }

    QProcess& start(const QString& programDir, const QStringList& arguments = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QUILLON_PROGRAM_DIR", programDir);
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(env);
        process->start(QUILLON_COMMAND, arguments);
        EXPECT_TRUE(process->waitForStarted(5000));
        processes.push_back(std::move(process));
        return *processes.back();
    }

    // Waits until a copy in the runtime folder answers callers (its event
    // loop runs); a busy machine may take a while to start it.
    bool waitForListener()
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 30000) {
            for (const QString& name : QDir(runtime.path()).entryList({"DadoRiVad-*"}, QDir::System)) {
                QLocalSocket probe;
                probe.connectToServer(runtime.path() + "/" + name);
                if (probe.waitForConnected(1000) && probe.waitForReadyRead(1000))
                    return true;
            }
            QThread::msleep(100);
        }
        return false;
    }

    QTemporaryDir runtime;
    QTemporaryDir otherProgramDir;
    std::vector<std::unique_ptr<QProcess>> processes;
};

TEST_F(SingleInstanceProgram, SecondCopyOfTheSameInstallationEndsButAnotherInstallationRuns)
{
    ASSERT_TRUE(QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    start(dir.path());
    ASSERT_TRUE(waitForListener());

    QProcess& same = start(dir.path(), {"page.htm"});
    EXPECT_TRUE(same.waitForFinished(20000));
    EXPECT_EQ(same.exitCode(), 0);

    QProcess& other = start(otherProgramDir.path());
    EXPECT_FALSE(other.waitForFinished(3000)) << "another program folder is another instance";
}

TEST_F(SingleInstanceProgram, StoppedFirstCopyDoesNotKeepASecondFromStarting)
{
    ASSERT_TRUE(QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QProcess& first = start(dir.path());
    ASSERT_TRUE(waitForListener());
    ASSERT_GT(first.processId(), 0);
    ::kill(pid_t(first.processId()), SIGSTOP);

    QProcess& second = start(dir.path(), {"page.htm"});
    EXPECT_FALSE(second.waitForFinished(3000))
        << "the second copy must run on its own; it ended with " << second.exitCode() << ": "
        << second.readAllStandardError().toStdString();
    EXPECT_EQ(second.state(), QProcess::Running);
}
