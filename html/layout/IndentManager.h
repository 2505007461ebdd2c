#pragma once
// The float edges of one cell. Left edges say "content starts at X or right
// of it" and right edges "content ends at X or left of it", each over
// [YT, YB). Cells push their own edges around their content; floats add
// edges that stay until the cell's layout ends.
#include <vector>

class TBlock;
class TSectionBase;

struct IndentRec {
    int X = 0;
    int YT = 0;
    int YB = 0;           // 9999999 while open
    TBlock* ID = nullptr; // the block that pushed it, if any
    bool Float = false;
};

class IndentManager {
public:
    // Empties both lists and sets the cell's extent.
    void Reset(int left, int width);
    // Pushes a cell edge from Y on, open downwards; answers its handle for Pop.
    int PushLeft(int x, int y, TBlock* id = nullptr);
    int PushRight(int x, int y, TBlock* id = nullptr);
    // Removes an edge pushed by PushLeft / PushRight (floats stay).
    void PopLeft(int handle);
    void PopRight(int handle);
    // A float's edge over [yt, yb).
    void AddLeftFloat(int x, int yt, int yb, TBlock* id = nullptr);
    void AddRightFloat(int x, int yt, int yb, TBlock* id = nullptr);

    // X where content may start at Y (the rightmost left edge covering Y),
    // LfEdge when none covers it.
    int LeftIndent(int y) const;
    // X where content must end at Y (the leftmost right edge), RtEdge when none.
    int RightSide(int y) const;
    // Lowest bottom of the left / right float edges (Y when there are none).
    int LeftFloatBottom(int y) const;
    int RightFloatBottom(int y) const;
    // Lowest bottom of any float edge, or y when none reaches below it.
    int LowestFloatBottom(int y) const;
    // The nearest float bottom below Y among floats covering Y, or -1.
    int NextFloatBottom(int y) const;

    int LfEdge = 0;
    int RtEdge = 0;
    int Width = 0;
    TSectionBase* CurrentID = nullptr; // the section being laid out

private:
    struct Edge : IndentRec {
        int handle = 0;
    };
    int Push(std::vector<Edge>& list, int x, int y, TBlock* id);
    static void Pop(std::vector<Edge>& list, int handle);
    static int FloatBottom(const std::vector<Edge>& list, int y);
    std::vector<Edge> FLeft;
    std::vector<Edge> FRight;
    int FNextHandle = 1;
};
