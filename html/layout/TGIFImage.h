#pragma once
// An animated GIF as documents draw it: the decoder's strip of all frames
// (shared between copies) and a frame state of its own. The document timer
// calls Step with the current time; the image advances when the current
// frame's delay has passed and stops on the last frame when its plays are
// used up.
#include <cstdint>
#include <memory>

#include "gfx/TCanvas.h"
#include "images/TGifStrip.h"

class TGIFImage {
public:
    explicit TGIFImage(std::shared_ptr<const TGifStrip> strip);
    // A second user of a cached animation: same strips, its own frame state
    // (starting at frame 1, stopped).
    std::shared_ptr<TGIFImage> CreateCopy() const;

    int Width() const { return FStrip->frameWidth; }
    int Height() const { return FStrip->frameHeight; }
    int NumFrames() const { return FStrip->frameCount; }
    bool IsAnimated() const { return NumFrames() > 1; }
    bool HasMask() const { return FStrip->hasMask(); }
    const TGifStrip& Strip() const { return *FStrip; }

    // 1-based. Above the count selects frame 1; zero or below the last frame.
    int CurrentFrame() const { return FCurrentFrame; }
    void SetCurrentFrame(int frame);

    bool Animate() const { return FAnimate; }
    // Starting restarts the wait for the current frame at `now` (milliseconds).
    void SetAnimate(bool animate, int64_t now = 0);
    int Passes() const { return FPasses; }
    // How many plays before stopping; 0 for ever.
    int LoopLimit() const { return FLoopLimit; }

    // Advances when due; answers whether the frame changed (the caller
    // repaints the remembered rectangle).
    bool Step(int64_t now);
    // The wait before the next change.
    int CurrentDelay() const { return FCurrentDelay; }

    // Stretches the current frame into dest and remembers dest.
    void Draw(TCanvas& canvas, const TRect& dest);
    const TRect& DrawnRect() const { return FDrawnRect; }
    // The current frame as a still bitmap with its mask (printing copies).
    TBitmap StillBitmap() const;

private:
    int FrameDelay(int frame) const;

    std::shared_ptr<const TGifStrip> FStrip;
    int FCurrentFrame = 1;
    bool FAnimate = false;
    int FPasses = 0;
    int FLoopLimit = 1;
    int64_t FLastChange = 0;
    int FCurrentDelay = 1;
    TRect FDrawnRect;
};
