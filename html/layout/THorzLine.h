#pragma once
// A horizontal rule: a filled bar in its colour, else a 3-D line. It lies
// in the content cell of its THRBlock, which gives it its width and place.
#include "html/layout/TSectionBase.h"

enum class TRuleAlign : uint8_t { Left = 1, Center = 2, Right = 3 };

class THorzLine : public TSectionBase {
public:
    static constexpr int DefaultSize = 2;
    static constexpr int MaxSize = 20;

    THorzLine(TSectionList& document, int size, TColor color, TRuleAlign align, bool noShade);

    std::unique_ptr<TSectionBase> CloneInto(TSectionList& target) const override;
    void CopySelection() override;
    int LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor) override;
    int Paint(TPaintContext& pc, IndentManager& im, int x, int xRef, int yRef) override;
    void Dump(std::string& out, int depth) const override;
    const char* KindName() const override { return "rule"; }

    int VSize;
    TColor Color;
    TRuleAlign Align;
    bool NoShade;
    int XX = 0;
    int Wid = 0;

private:
    THorzLine(const THorzLine& source, TSectionList& target);
};
