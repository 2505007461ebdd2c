#pragma once
// The pictures images show while their data is on its way (or images are
// off) and when it cannot be had. Both are 16 x 16 with a mask.
#include "images/TBitmap.h"

const TBitmap& WaitingPicture();
const TBitmap& ErrorPicture();
