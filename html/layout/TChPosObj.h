#pragma once
#include "html/layout/TIDObject.h"

class TSectionList;

// An ID target at a character position inside a text section (A NAME). Its Y
// is found through the document's caret position of that character.
class TChPosObj : public TIDObject {
public:
    TChPosObj(TSectionList& document, int charPos) : FDocument(document), FChPos(charPos) {}
    int AnchorY() const override;
    int ChPos() const { return FChPos; }

private:
    TSectionList& FDocument;
    int FChPos;
};
