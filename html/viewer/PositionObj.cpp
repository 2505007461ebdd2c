#include "html/viewer/PositionObj.h"

int NextNavStamp()
{
    static int stamp = 0;
    return stamp++;
}
