#include "app/TfrmVerifier.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <memory>
#include <unistd.h>

#include "util/ProgramFolder.h"

namespace {

// The running copy greets every caller first: a copy that is stopped or hung
// never greets, so the caller knows not to hand its document to it.
const QByteArray greeting = QByteArrayLiteral("DadoRiVad\n");
// The hand-over text ends at a NUL, which no file name contains.
constexpr char terminator = '\0';
// Nobody hands over a longer text; a caller that sends more is cut off.
constexpr qsizetype maxHandOverBytes = 64 * 1024;

QString canonicalFolder(const std::string& folder)
{
    QString path = QString::fromStdString(folder);
    QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

// The user's runtime folder (owner-only); the private temporary folder when
// the desktop session has none.
QString runtimeFolder()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QString::fromStdString(PrivateTempDir());
    while (dir.size() > 1 && dir.endsWith('/'))
        dir.chop(1);
    return dir;
}

} // namespace

TfrmVerifier::TfrmVerifier(QObject* parent, QString serverName)
    : QObject(parent), FServerName(serverName.isEmpty() ? DefaultServerName() : serverName)
{
}

TfrmVerifier::~TfrmVerifier() = default;

QString TfrmVerifier::DisplayKey(const QString& platformName, const QString& x11Display,
                                 const QString& waylandDisplay)
{
    QString display;
    if (platformName == QLatin1String("xcb")) {
        display = x11Display;
        // ":0" and ":0.0" are the same display.
        qsizetype colon = display.lastIndexOf(':');
        qsizetype dot = display.lastIndexOf('.');
        if (colon >= 0 && dot > colon)
            display.truncate(dot);
    } else if (platformName.startsWith(QLatin1String("wayland"))) {
        display = waylandDisplay.isEmpty() ? QStringLiteral("wayland-0") : waylandDisplay;
    }
    return platformName + ':' + display;
}

QString TfrmVerifier::CurrentDisplayKey()
{
    return DisplayKey(QGuiApplication::platformName(), qEnvironmentVariable("DISPLAY"),
                      qEnvironmentVariable("WAYLAND_DISPLAY"));
}

QString TfrmVerifier::ServerName(const QString& runtimeDir, const QString& displayKey, const std::string& programDir)
{
    QByteArray scope = displayKey.toUtf8() + '\n' + canonicalFolder(programDir).toUtf8();
    QString hash = QString::fromLatin1(QCryptographicHash::hash(scope, QCryptographicHash::Sha256).toHex().left(16));
    return runtimeDir + QStringLiteral("/DadoRiVad-%1-%2").arg(::getuid()).arg(hash);
}

QString TfrmVerifier::DefaultServerName()
{
    return ServerName(runtimeFolder(), CurrentDisplayKey(), ProgramDir());
}

bool TfrmVerifier::IsListening() const
{
    return FServer && FServer->isListening();
}

bool TfrmVerifier::BecomeRunningCopy(const QString& argument)
{
    // Two tries: when two copies start at once, the one that loses the race
    // to listen hands over to the one that won.
    for (int attempt = 0; attempt < 2; ++attempt) {
        switch (sendToRunningCopy(argument)) {
        case TContact::HandedOver:
            return false;
        case TContact::NoAnswer:
            // The copy that holds the socket is stopped or hung. Start on our
            // own but leave its socket: it may yet wake up and go on serving.
            return true;
        case TContact::NobodyListens:
            if (listen())
                return true;
            break;
        }
    }
    // Nobody answered and the name cannot be taken: the socket file is left
    // over from a copy that crashed. Take its place.
    QLocalServer::removeServer(FServerName);
    listen();
    return true;
}

bool TfrmVerifier::listen()
{
    if (!FServer) {
        FServer = new QLocalServer(this);
        FServer->setSocketOptions(QLocalServer::UserAccessOption);
        connect(FServer, &QLocalServer::newConnection, this, &TfrmVerifier::acceptConnection);
    }
    return FServer->listen(FServerName);
}

TfrmVerifier::TContact TfrmVerifier::sendToRunningCopy(const QString& argument)
{
    QDeadlineTimer deadline(AnswerTimeoutMs);
    QLocalSocket socket;
    socket.connectToServer(FServerName);
    if (!socket.waitForConnected(int(deadline.remainingTime()))) {
        // A full connection queue of a hung copy times out; a missing or dead
        // socket file is refused at once.
        return socket.error() == QLocalSocket::SocketTimeoutError ? TContact::NoAnswer : TContact::NobodyListens;
    }
    QByteArray answer;
    while (!answer.contains('\n') && answer.size() < greeting.size()) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
            break;
        answer += socket.readAll();
    }
    if (answer != greeting) {
        socket.abort();
        return TContact::NoAnswer;
    }
    socket.write(HandOverText(argument.trimmed()).toUtf8() + terminator);
    socket.flush();
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(int(deadline.remainingTime()))) {
    }
    socket.disconnectFromServer();
    return TContact::HandedOver;
}

void TfrmVerifier::acceptConnection()
{
    while (QLocalSocket* socket = FServer->nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] { readHandOver(socket, *buffer); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        socket->write(greeting);
        socket->flush();
    }
}

void TfrmVerifier::readHandOver(QLocalSocket* socket, QByteArray& buffer)
{
    buffer += socket->readAll();
    qsizetype end = buffer.indexOf(terminator);
    if (end < 0 && buffer.size() <= maxHandOverBytes)
        return;
    QString text = end < 0 ? QString() : QString::fromUtf8(buffer.left(end));
    buffer.clear();
    socket->disconnectFromServer();
    if (!text.startsWith(QLatin1String("DadoRiVad")))
        return;
    // Loading may open a message box; let the socket finish first.
    QTimer::singleShot(0, this, [this, text] { emit HandOver(text); });
}
