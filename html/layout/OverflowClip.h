#pragma once
// Painting the content of a box whose overflow is hidden, auto or scroll:
// what lies outside its padding box is not drawn.
#include <functional>

#include "html/layout/LayoutTypes.h"

class TSectionList;

// Runs paint with the canvas clipped to paddingBox (window pixels); the
// pictures the content queues meanwhile are drawn before the clip is lifted.
void PaintClipped(TPaintContext& pc, TSectionList* document, const TRect& paddingBox,
                  const std::function<void()>& paint);
