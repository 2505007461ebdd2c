#include "app/TMediaSoundOutput.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

TMediaSoundOutput::TMediaSoundOutput(QObject* parent) : QObject(parent) {}

TMediaSoundOutput::~TMediaSoundOutput() = default;

bool TMediaSoundOutput::Play(const std::string& file)
{
    QString name = QString::fromStdString(file);
    // Without an audio device some media back ends fail hard while building
    // their pipeline: then there is simply no sound.
    if (!QFileInfo(name).isFile() || QMediaDevices::audioOutputs().isEmpty())
        return false;
    if (!FPlayer) {
        FPlayer = new QMediaPlayer(this);
        FAudio = new QAudioOutput(this);
        FPlayer->setAudioOutput(FAudio);
        connect(FPlayer, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
            if (status == QMediaPlayer::EndOfMedia && OnPlayed)
                OnPlayed();
        });
    }
    FPlayer->stop();
    FPlayer->setSource(QUrl::fromLocalFile(QFileInfo(name).absoluteFilePath()));
    FPlayer->play();
    return FPlayer->error() == QMediaPlayer::NoError;
}

void TMediaSoundOutput::Stop()
{
    if (FPlayer)
        FPlayer->stop();
}
