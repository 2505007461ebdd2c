#pragma once
// The window's sounds: a document's background sound, played its loop count
// of times, and the wave files links ring once. Only one background sound
// plays at a time; the document (viewer) that started it owns it until it
// ends or that document goes. All failures are ignored.
#include <QObject>
#include <memory>
#include <string>

#include "app/TSoundOutput.h"

class TFrameViewer;
class THTMLViewer;

class TSoundPlayer : public QObject {
    Q_OBJECT
public:
    // Plays through Qt Multimedia.
    explicit TSoundPlayer(QObject* parent = nullptr);
    // Plays through the given outputs (tests hand in recording ones).
    TSoundPlayer(std::unique_ptr<TSoundOutput> background, std::unique_ptr<TSoundOutput> wave,
                 QObject* parent = nullptr);
    ~TSoundPlayer() override;
    // Plays through other outputs from now on (tests record what is played).
    void SetOutputs(std::unique_ptr<TSoundOutput> background, std::unique_ptr<TSoundOutput> wave);

    // A request of the browser view: a frame's viewer asks for itself, the
    // frame viewer (no sender) for the frame set. Its terminate request means
    // the whole view was replaced, so it ends any sound. The source is
    // expanded against the asking document.
    void ViewerRequest(TFrameViewer& frames, THTMLViewer* sender, const std::string& source, int loop,
                       bool terminate);

    // A document's request: a play of the expanded file, or (terminate) the end
    // of the owner's sound. Play requests while a sound plays are ignored. A
    // negative loop count plays 9999 times, 0 once, n n times.
    void Request(const void* owner, const std::string& file, int loop, bool terminate);
    // Ends the background sound whoever owns it (the whole view was replaced).
    void StopBackground();
    // A wave file a link names, played once at once.
    void PlayWave(const std::string& file);

    bool Playing() const { return FOwner != nullptr; }
    const void* Owner() const { return FOwner; }

private:
    void Played();

    std::unique_ptr<TSoundOutput> FBackground;
    std::unique_ptr<TSoundOutput> FWave;
    const void* FOwner = nullptr;
    std::string FFile;
    int FPlaysToCome = 0;
};
