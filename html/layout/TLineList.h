#pragma once
// The lines of a text section as its last layout made them, in one block of
// exactly their count. A section before its first layout has none and pays
// for a pointer only (a document has hundreds of thousands of sections).
#include <cstddef>
#include <memory>
#include <new>
#include <span>

struct LineRec {
    int Start = 0;        // index of the first character
    int Ln = 0;           // characters
    int Y = 0;            // top, document pixels
    int X = 0;            // left end of the text, document pixels
    int SpaceBefore = 0;  // above the text
    int SpaceAfter = 0;   // below the text
    int LineHt = 0;       // text height
    int Descent = 0;
    int LineImgHt = 0;    // draw height (the line or floats placed in it)
    int DrawWidth = 0;    // width between the float edges
    int TextWidth = 0;    // without trailing spaces and breaks
    int Spaces = 0;       // justification: spaces sharing Extra pixels
    int Extra = 0;
    int Height() const { return SpaceBefore + LineHt + SpaceAfter; }
    int Baseline() const { return Y + SpaceBefore + LineHt - Descent; }
};

class TLineList {
public:
    TLineList() = default;
    TLineList(const TLineList&) = delete;
    TLineList& operator=(const TLineList&) = delete;

    void Assign(std::span<const LineRec> lines);
    void clear() { FBlock.reset(); }

    LineRec* begin() { return Lines(); }
    LineRec* end() { return Lines() + size(); }
    const LineRec* begin() const { return Lines(); }
    const LineRec* end() const { return Lines() + size(); }
    const LineRec* data() const { return Lines(); }
    size_t size() const { return FBlock ? size_t(*FBlock) : 0; }
    bool empty() const { return !FBlock; }
    LineRec& operator[](size_t i) { return Lines()[i]; }
    const LineRec& operator[](size_t i) const { return Lines()[i]; }
    // Throws std::out_of_range past the end.
    const LineRec& at(size_t i) const;
    const LineRec& back() const { return Lines()[size() - 1]; }

private:
    LineRec* Lines() const
    {
        return FBlock ? std::launder(reinterpret_cast<LineRec*>(FBlock.get() + 1)) : nullptr;
    }
    struct TFree {
        void operator()(int* block) const;
    };
    // The count, then the lines (a line and its count fill the same
    // allocation unit as a line alone).
    std::unique_ptr<int, TFree> FBlock;
};
