#pragma once
#include <QObject>
#include <QString>

class QLocalServer;

// The single-instance rendezvous. The running copy listens on a per-user local
// socket named "DadoRiVad-<uid>"; a second copy connects, sends "DadoRiVad:" +
// its argument, and ends without showing a window.
class TfrmVerifier : public QObject {
    Q_OBJECT
public:
    explicit TfrmVerifier(QObject* parent = nullptr, QString serverName = {});
    ~TfrmVerifier() override;

    // Becomes the running copy, or hands the argument over to the copy that
    // already runs. Answers true when this process is the running copy.
    bool BecomeRunningCopy(const QString& argument);

    QString serverName() const { return FServerName; }
    static QString DefaultServerName();
    static QString HandOverText(const QString& argument) { return QStringLiteral("DadoRiVad:") + argument; }

signals:
    // A second copy started: `text` is what it sent ("DadoRiVad:" + argument).
    void HandOver(const QString& text);

private:
    bool sendToRunningCopy(const QString& argument);
    void acceptConnection();

    QString FServerName;
    QLocalServer* FServer = nullptr;
};
