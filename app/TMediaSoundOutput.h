#pragma once
// Sound playback through Qt Multimedia. The player is made at the first play,
// so windows that never play a sound never open an audio device.
#include <QObject>
#include <memory>

#include "app/TSoundOutput.h"

class QAudioOutput;
class QMediaPlayer;

class TMediaSoundOutput : public QObject, public TSoundOutput {
public:
    explicit TMediaSoundOutput(QObject* parent = nullptr);
    ~TMediaSoundOutput() override;
    bool Play(const std::string& file) override;
    void Stop() override;

private:
    QMediaPlayer* FPlayer = nullptr;
    QAudioOutput* FAudio = nullptr;
};
