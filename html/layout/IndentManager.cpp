#include "html/layout/IndentManager.h"

#include <algorithm>

#include "html/layout/LayoutTypes.h"

void IndentManager::Reset(int left, int width)
{
    FLeft.clear();
    FRight.clear();
    LfEdge = left;
    Width = width;
    RtEdge = left + width;
}

int IndentManager::Push(std::vector<Edge>& list, int x, int y, TBlock* id)
{
    Edge e;
    e.X = x;
    e.YT = y;
    e.YB = OpenEdgeBottom;
    e.ID = id;
    e.handle = FNextHandle++;
    list.push_back(e);
    return e.handle;
}

void IndentManager::Pop(std::vector<Edge>& list, int handle)
{
    for (size_t i = list.size(); i-- > 0;)
        if (list[i].handle == handle) {
            list.erase(list.begin() + std::ptrdiff_t(i));
            return;
        }
}

int IndentManager::PushLeft(int x, int y, TBlock* id) { return Push(FLeft, x, y, id); }
int IndentManager::PushRight(int x, int y, TBlock* id) { return Push(FRight, x, y, id); }
void IndentManager::PopLeft(int handle) { Pop(FLeft, handle); }
void IndentManager::PopRight(int handle) { Pop(FRight, handle); }

void IndentManager::AddLeftFloat(int x, int yt, int yb, TBlock* id)
{
    Edge e;
    e.X = x;
    e.YT = yt;
    e.YB = yb;
    e.ID = id;
    e.Float = true;
    FLeft.push_back(e);
}

void IndentManager::AddRightFloat(int x, int yt, int yb, TBlock* id)
{
    Edge e;
    e.X = x;
    e.YT = yt;
    e.YB = yb;
    e.ID = id;
    e.Float = true;
    FRight.push_back(e);
}

int IndentManager::LeftIndent(int y) const
{
    int x = LfEdge;
    for (const Edge& e : FLeft)
        if (e.YT <= y && y < e.YB)
            x = std::max(x, e.X);
    return x;
}

int IndentManager::RightSide(int y) const
{
    int x = RtEdge;
    for (const Edge& e : FRight)
        if (e.YT <= y && y < e.YB)
            x = std::min(x, e.X);
    return x;
}

int IndentManager::FloatBottom(const std::vector<Edge>& list, int y)
{
    int bottom = y;
    for (const Edge& e : list)
        if (e.Float)
            bottom = std::max(bottom, e.YB);
    return bottom;
}

int IndentManager::LeftFloatBottom(int y) const { return FloatBottom(FLeft, y); }
int IndentManager::RightFloatBottom(int y) const { return FloatBottom(FRight, y); }
int IndentManager::LowestFloatBottom(int y) const { return std::max(LeftFloatBottom(y), RightFloatBottom(y)); }

int IndentManager::NextFloatBottom(int y) const
{
    int next = -1;
    for (const auto* list : {&FLeft, &FRight})
        for (const Edge& e : *list)
            if (e.Float && e.YT <= y && y < e.YB && (next < 0 || e.YB < next))
                next = e.YB;
    return next;
}
