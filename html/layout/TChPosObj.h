#pragma once
// An ID target that marks a character position (a source position) inside the
// document's text, such as an A NAME anchor.
#include "html/layout/Forward.h"
#include "html/layout/TIDObject.h"

#include <cstdint>

class TChPosObj : public TIDObject {
public:
    TChPosObj(TSectionList* document, int32_t chPos) : FDocument(document), FChPos(chPos) {}

    TSectionList* Document() const { return FDocument; }
    int32_t ChPos() const { return FChPos; }
    // The caret Y of the character at this source position in the laid-out
    // document; 0 without a document or before layout.
    int YPosition() const override;

private:
    TSectionList* FDocument;
    int32_t FChPos;
};
