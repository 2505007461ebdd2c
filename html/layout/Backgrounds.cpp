#include "html/layout/Backgrounds.h"

#include <algorithm>

#include "html/layout/TBlockStyle.h"
#include "html/layout/TDocumentObjects.h"
#include "html/layout/TGIFImage.h"
#include "html/layout/TSectionList.h"

TBackgroundPlacement BackgroundPlacementOf(const TBlockStyle& style)
{
    TBackgroundPlacement p;
    p.x = style.backgroundPosXPercent ? TStyleLength::Percent(style.backgroundPosX)
                                      : TStyleLength::Pixels(style.backgroundPosX);
    p.y = style.backgroundPosYPercent ? TStyleLength::Percent(style.backgroundPosY)
                                      : TStyleLength::Pixels(style.backgroundPosY);
    p.repeat = TBackgroundRepeatKind(std::min<int>(style.backgroundRepeat, 3));
    return p;
}

int BackgroundOffset(int area, int image, const TStyleLength& position)
{
    long long offset = 0;
    if (position.kind == TStyleLength::Kind::Percent)
        offset = (long long)(area - image) * position.value / 100;
    else if (position.kind == TStyleLength::Kind::Pixels)
        offset = position.value;
    return int(std::clamp<long long>(offset, -(long long)image, area));
}

TTileRun PlanTiles(int area, int image, const TStyleLength& position, bool repeat, int visibleFrom, int visibleTo)
{
    TTileRun run;
    if (area <= 0 || image <= 0)
        return run;
    if (repeat && image == 1) {
        run = {0, 1, area, area};
        return run;
    }
    run.size = run.step = image;
    int start = BackgroundOffset(area, image, position);
    if (!repeat) {
        run.start = start;
        run.count = 1;
        return run;
    }
    // Back by whole images to at most 0, then skip what lies before the visible part.
    start -= (start + image - 1) / image * image;
    int from = std::max(0, visibleFrom);
    if (from > start + image)
        start += (from - start) / image * image;
    int end = std::min(area, visibleTo);
    run.start = start;
    run.count = end > start ? (end - start + image - 1) / image : 0;
    return run;
}

void PaintBackgroundImage(TCanvas& canvas, const TRect& area, const TImageFetch& image,
                          const TBackgroundPlacement& placement)
{
    if (area.isEmpty() || image.Empty())
        return;
    TBitmap still;
    const TBitmap* picture = image.bitmap.get();
    if (!picture) {
        still = image.animation->StillBitmap();
        picture = &still;
    }
    if (picture->isEmpty())
        return;
    TRect clip = canvas.clipBox();
    bool rx = placement.repeat == TBackgroundRepeatKind::Horizontal || placement.repeat == TBackgroundRepeatKind::Both;
    bool ry = placement.repeat == TBackgroundRepeatKind::Vertical || placement.repeat == TBackgroundRepeatKind::Both;
    TTileRun xs = PlanTiles(area.width(), picture->width, placement.x, rx, clip.left - area.left, clip.right - area.left);
    TTileRun ys = PlanTiles(area.height(), picture->height, placement.y, ry, clip.top - area.top, clip.bottom - area.top);
    canvas.save();
    canvas.intersectClip(area);
    for (int j = 0; j < ys.count; ++j) {
        int top = area.top + ys.start + j * ys.step;
        for (int i = 0; i < xs.count; ++i) {
            int left = area.left + xs.start + i * xs.step;
            canvas.drawBitmap({left, top, left + xs.size, top + ys.size}, *picture);
        }
    }
    canvas.restore();
}

void PaintBlockBackground(TPaintContext& pc, TSectionList& document, const std::string& name, const TRect& area,
                          const TBackgroundPlacement& placement)
{
    if (name.empty() || !pc.PaintsBackgrounds())
        return;
    if (area.bottom <= pc.clip.top || area.top >= pc.clip.bottom)
        return;
    PaintBackgroundImage(pc.canvas, area, document.Objects.BackgroundImage(name), placement);
}

void PaintDocumentBackground(TPaintContext& pc, TSectionList& document, const TRect& documentArea, int viewHeight)
{
    if (document.BackgroundImage.empty() || !pc.PaintsBackgrounds())
        return;
    const TImageFetch& image = document.Objects.LoadBackground(document.BackgroundImage);
    TRect window{documentArea.left, pc.WindowY(documentArea.top), documentArea.right, pc.WindowY(documentArea.bottom)};
    // A fixed picture is placed in the window, not in the document (printed
    // pages scroll nothing).
    if (document.BackgroundFixed && !pc.printing && viewHeight > 0)
        window = {0, 0, documentArea.right - documentArea.left, viewHeight};
    PaintBackgroundImage(pc.canvas, window, image, document.BackgroundPlacement);
}
