#include "app/TSoundPlayer.h"

#include "app/TMediaSoundOutput.h"
#include "html/viewer/TFrameViewer.h"

TSoundPlayer::TSoundPlayer(QObject* parent)
    : TSoundPlayer(std::make_unique<TMediaSoundOutput>(), std::make_unique<TMediaSoundOutput>(), parent)
{
}

TSoundPlayer::TSoundPlayer(std::unique_ptr<TSoundOutput> background, std::unique_ptr<TSoundOutput> wave,
                           QObject* parent)
    : QObject(parent)
{
    SetOutputs(std::move(background), std::move(wave));
}

void TSoundPlayer::SetOutputs(std::unique_ptr<TSoundOutput> background, std::unique_ptr<TSoundOutput> wave)
{
    StopBackground();
    FBackground = std::move(background);
    FWave = std::move(wave);
    FBackground->OnPlayed = [this] { Played(); };
}

TSoundPlayer::~TSoundPlayer()
{
    FBackground->OnPlayed = nullptr;
}

void TSoundPlayer::Request(const void* owner, const std::string& file, int loop, bool terminate)
{
    if (terminate) {
        if (owner == FOwner)
            StopBackground();
        return;
    }
    if (FOwner || file.empty() || !owner)
        return;
    if (!FBackground->Play(file))
        return;
    FOwner = owner;
    FFile = file;
    FPlaysToCome = loop < 0 ? 9999 : loop == 0 ? 1 : loop;
}

void TSoundPlayer::ViewerRequest(TFrameViewer& frames, THTMLViewer* sender, const std::string& source, int loop,
                                 bool terminate)
{
    if (terminate && !sender) {
        StopBackground();
        return;
    }
    const void* owner = sender ? static_cast<const void*>(sender) : static_cast<const void*>(&frames);
    std::string file;
    if (!terminate && !source.empty())
        file = sender ? sender->ExpandLinkName(source) : frames.ExpandLinkName(source);
    Request(owner, file, loop, terminate);
}

void TSoundPlayer::StopBackground()
{
    if (FOwner && FBackground)
        FBackground->Stop();
    FOwner = nullptr;
    FPlaysToCome = 0;
}

void TSoundPlayer::PlayWave(const std::string& file)
{
    FWave->Play(file);
}

void TSoundPlayer::Played()
{
    // The play that just ended counts: a loop count of n rings n times.
    if (!FOwner)
        return;
    if (--FPlaysToCome <= 0 || !FBackground->Play(FFile))
        StopBackground();
}
