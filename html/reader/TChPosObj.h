#pragma once
// An ID target that marks a character position (a source position) inside the
// document's text.
#include "html/reader/Forward.h"
#include "html/reader/TIDObject.h"

#include <cstdint>

class TChPosObj : public TIDObject {
public:
    // How layout turns a source position of a document into a Y position; layout
    // installs it, since the reader knows nothing about laid-out text.
    using TYPositionFinder = int (*)(const TSectionList* document, int32_t sourcePos);

    TChPosObj(TSectionList* document, int32_t chPos) : FDocument(document), FChPos(chPos) {}

    TSectionList* Document() const { return FDocument; }
    int32_t ChPos() const { return FChPos; }
    // 0 until layout installs its finder.
    int YPosition() const override;

    static void SetYPositionFinder(TYPositionFinder finder);

private:
    TSectionList* FDocument;
    int32_t FChPos;
};
