#include "app/TfrmVerifier.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace {
constexpr int connectTimeoutMs = 1500;
}

TfrmVerifier::TfrmVerifier(QObject* parent, QString serverName)
    : QObject(parent), FServerName(serverName.isEmpty() ? DefaultServerName() : serverName)
{
}

TfrmVerifier::~TfrmVerifier() = default;

QString TfrmVerifier::DefaultServerName()
{
    return QStringLiteral("DadoRiVad-%1").arg(::getuid());
}

bool TfrmVerifier::BecomeRunningCopy(const QString& argument)
{
    if (sendToRunningCopy(argument))
        return false;
    FServer = new QLocalServer(this);
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!FServer->listen(FServerName)) {
        // Nobody answered, so the socket file is left over from a copy that
        // crashed: remove it and take its place.
        QLocalServer::removeServer(FServerName);
        FServer->listen(FServerName);
    }
    connect(FServer, &QLocalServer::newConnection, this, &TfrmVerifier::acceptConnection);
    return true;
}

bool TfrmVerifier::sendToRunningCopy(const QString& argument)
{
    QLocalSocket socket;
    socket.connectToServer(FServerName);
    if (!socket.waitForConnected(connectTimeoutMs))
        return false;
    // One line of UTF-8; the running copy reads until the connection closes.
    socket.write(HandOverText(argument.trimmed()).toUtf8());
    socket.flush();
    socket.waitForBytesWritten(connectTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(connectTimeoutMs);
    return true;
}

void TfrmVerifier::acceptConnection()
{
    while (QLocalSocket* socket = FServer->nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, socket, [socket, buffer] { buffer->append(socket->readAll()); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            socket->deleteLater();
            QString text = QString::fromUtf8(*buffer);
            if (text.startsWith(QStringLiteral("DadoRiVad")))
                emit HandOver(text);
        });
    }
}
