#include "html/layout/OverflowClip.h"

#include <algorithm>

#include "html/layout/TSectionList.h"

void PaintClipped(TPaintContext& pc, TSectionList* document, const TRect& paddingBox,
                  const std::function<void()>& paint)
{
    TRect visible{std::max(pc.clip.left, paddingBox.left), std::max(pc.clip.top, paddingBox.top),
                  std::min(pc.clip.right, paddingBox.right), std::min(pc.clip.bottom, paddingBox.bottom)};
    if (visible.isEmpty())
        return;
    size_t queued = document ? document->DrawList.Count() : 0;
    pc.canvas.save();
    pc.canvas.intersectClip(paddingBox);
    paint();
    if (document)
        document->DrawList.DrawFrom(pc.canvas, queued);
    pc.canvas.restore();
}
