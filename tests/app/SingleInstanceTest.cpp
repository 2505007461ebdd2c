#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "AppTestSupport.h"
#include "app/TfrmVerifier.h"

namespace {

QString waitForHandOver(QSignalSpy& spy)
{
    QElapsedTimer clock;
    clock.start();
    while (spy.isEmpty() && clock.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return spy.isEmpty() ? QString() : spy.front().front().toString();
}

} // namespace

using SingleInstance = AppTest;

TEST_F(SingleInstance, SecondCopyHandsOverItsArgument)
{
    QString name = dir.path() + "/rendezvous";
    TfrmVerifier first(nullptr, name);
    ASSERT_TRUE(first.BecomeRunningCopy("ignored.htm"));
    QSignalSpy spy(&first, &TfrmVerifier::HandOver);
    TfrmVerifier second(nullptr, name);
    EXPECT_FALSE(second.BecomeRunningCopy("  other page.htm "));
    EXPECT_EQ(waitForHandOver(spy), "DadoRiVad:other page.htm");
}

TEST_F(SingleInstance, SecondCopyWithoutArgumentSendsAnEmptyText)
{
    QString name = dir.path() + "/rendezvous";
    TfrmVerifier first(nullptr, name);
    ASSERT_TRUE(first.BecomeRunningCopy(""));
    QSignalSpy spy(&first, &TfrmVerifier::HandOver);
    TfrmVerifier second(nullptr, name);
    EXPECT_FALSE(second.BecomeRunningCopy(""));
    EXPECT_EQ(waitForHandOver(spy), "DadoRiVad:");
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

    TfrmVerifier restarted(nullptr, name);
    EXPECT_TRUE(restarted.BecomeRunningCopy(""));
    QSignalSpy spy(&restarted, &TfrmVerifier::HandOver);
    TfrmVerifier later(nullptr, name);
    EXPECT_FALSE(later.BecomeRunningCopy("x.htm"));
    EXPECT_EQ(waitForHandOver(spy), "DadoRiVad:x.htm");
}
