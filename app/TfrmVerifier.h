#pragma once
#include <QObject>
#include <QString>
#include <string>

class QLocalServer;
class QLocalSocket;

// The single-instance rendezvous. One copy runs per user, display and program
// folder: it listens on a local socket in the user's runtime folder, named
// "DadoRiVad-<uid>-<hash of display and program folder>". A second copy
// connects, waits for the running copy's greeting, sends "DadoRiVad:" + its
// argument, and ends without showing a window. A copy on another display, of
// another installation, or an offscreen test run is a different instance.
class TfrmVerifier : public QObject {
    Q_OBJECT
public:
    // An empty server name means DefaultServerName(); tests pass a private one.
    explicit TfrmVerifier(QObject* parent = nullptr, QString serverName = {});
    ~TfrmVerifier() override;

    // Becomes the running copy, or hands the argument over to the copy that
    // already runs. Answers true when this process should show its own window:
    // also when the copy found does not answer in time (it hangs), in which
    // case this one runs on its own and leaves the hung copy's socket alone.
    bool BecomeRunningCopy(const QString& argument);

    QString serverName() const { return FServerName; }
    // True while this copy is the one later copies hand over to.
    bool IsListening() const;

    // What tells instances apart: the window system and its display
    // ("xcb::0", "wayland:wayland-0", or the platform name alone, "offscreen").
    static QString DisplayKey(const QString& platformName, const QString& x11Display, const QString& waylandDisplay);
    static QString CurrentDisplayKey();
    // The socket path for a display key and program folder, inside runtimeDir.
    static QString ServerName(const QString& runtimeDir, const QString& displayKey, const std::string& programDir);
    static QString DefaultServerName();
    static QString HandOverText(const QString& argument) { return QStringLiteral("DadoRiVad:") + argument; }

    // How long a second copy waits for an answer before it runs on its own.
    static constexpr int AnswerTimeoutMs = 1200;

signals:
    // A second copy started: `text` is what it sent ("DadoRiVad:" + argument).
    void HandOver(const QString& text);

private:
    enum class TContact { HandedOver, NobodyListens, NoAnswer };
    TContact sendToRunningCopy(const QString& argument);
    bool listen();
    void acceptConnection();
    void readHandOver(QLocalSocket* socket, QByteArray& buffer);

    QString FServerName;
    QLocalServer* FServer = nullptr;
};
