#pragma once
#include <QColor>

#include "util/Colors.h"

// The Qt colour of an engine colour: system colours (0x80000000 + n) come from
// the application palette's matching roles, the palette-relative flag is
// ignored, and ClNone is transparent.
QColor QtColorOf(TColor color);
