#include "html/layout/TGIFImage.h"

#include <algorithm>

TGIFImage::TGIFImage(std::shared_ptr<const TGifStrip> strip)
    : FStrip(std::move(strip)), FLoopLimit(FStrip->playCount()), FCurrentDelay(FrameDelay(1))
{
}

std::shared_ptr<TGIFImage> TGIFImage::CreateCopy() const { return std::make_shared<TGIFImage>(FStrip); }

int TGIFImage::FrameDelay(int frame) const
{
    if (frame < 1 || frame > int(FStrip->frames.size()))
        return 1;
    return std::max(1, FStrip->frames[size_t(frame - 1)].delayMs);
}

void TGIFImage::SetCurrentFrame(int frame)
{
    int count = std::max(1, NumFrames());
    if (frame > count)
        frame = 1;
    else if (frame <= 0)
        frame = count;
    FCurrentFrame = frame;
    FCurrentDelay = FrameDelay(frame);
}

void TGIFImage::SetAnimate(bool animate, int64_t now)
{
    if (animate && !FAnimate) {
        FLastChange = now;
        FCurrentDelay = FrameDelay(FCurrentFrame);
    }
    FAnimate = animate;
}

bool TGIFImage::Step(int64_t now)
{
    if (!FAnimate || NumFrames() <= 1 || now - FLastChange < FCurrentDelay)
        return false;
    if (FCurrentFrame >= NumFrames()) {
        ++FPasses;
        if (FLoopLimit > 0 && FPasses >= FLoopLimit) {
            FAnimate = false;
            return false;
        }
    }
    SetCurrentFrame(FCurrentFrame + 1);
    FLastChange = now;
    return true;
}

void TGIFImage::Draw(TCanvas& canvas, const TRect& dest)
{
    int w = Width();
    TRect source{(FCurrentFrame - 1) * w, 0, FCurrentFrame * w, Height()};
    canvas.drawBitmapPart(dest, FStrip->strip, source);
    FDrawnRect = dest;
}

TBitmap TGIFImage::StillBitmap() const { return FStrip->frame(FCurrentFrame - 1); }
