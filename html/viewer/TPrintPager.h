#pragma once
// The pages of a printed document: a print copy of the document laid out
// for the page width, the page breaks found by a pass that paints without
// drawing, and any page painted on demand. Printing walks the pages in
// order; the preview paints only the pages it shows. Both count the same
// pages, because both take the breaks from the same pass.
#include <memory>
#include <vector>

#include "html/layout/LayoutTypes.h"
#include "html/viewer/TPageGeometry.h"
#include "html/viewer/ViewerPrint.h"

class TSectionList;

class TPrintPager {
public:
    // The print copy is the document read again for the page width when the
    // callbacks can (its style rules differ on paper), else a copy of the
    // screen's.
    TPrintPager(const TSectionList& document, const TPageGeometry& geometry, const TPrintSettings& settings,
                const TPrintCallbacks& callbacks = {});
    ~TPrintPager();
    TPrintPager(const TPrintPager&) = delete;
    TPrintPager& operator=(const TPrintPager&) = delete;

    // Lays the print copy out with the canvas the pages are measured with
    // (the printer's, or one of the same resolution); answers its height.
    int LayOut(TCanvas& measuring);
    // Finds where the next page ends; false once every page is known.
    bool FindNextBreak(TCanvas& measuring);
    // Runs the break pass to its end.
    void FindAllBreaks(TCanvas& measuring);
    bool AllBreaksFound() const { return FComplete; }
    // The pages found so far (all of them once AllBreaksFound).
    int PageCount() const { return int(FPageTops.size()) - (FComplete ? 0 : 1); }
    // The document Y at the top of a page (numbered from 1).
    int PageTop(int page) const { return FPageTops[size_t(page - 1)]; }

    // Paints a page found by the pass (from 1) on a canvas whose device is a
    // page of the printer (or a picture scaled like one), with its white
    // bands, header and footer; answers the document Y where the page ended.
    int PaintPage(TCanvas& canvas, int page, const TPrintCallbacks& callbacks, bool& stop);
    const TPageGeometry& Geometry() const { return FGeo; }

private:
    TPaintContext Context(TCanvas& canvas, int top) const;
    void FillWhite(TCanvas& canvas, int top, int bottom);
    void PaintBands(TCanvas& canvas, int page, int pageBottom, const TPrintCallbacks& callbacks, bool& stop);
    void HtmlBand(TCanvas& canvas, const std::function<THtmlBand(int, bool, int&, int&, bool&)>& callback, int page,
                  bool last, bool& stop, bool header);

    TPageGeometry FGeo;
    const TPrintSettings& FSettings;
    std::shared_ptr<TSectionList> FCopy;
    int FHeight = 0;
    // The top of every page found, and of the page to find next.
    std::vector<int> FPageTops{0};
    int FLastBottom = -1;
    bool FComplete = false;
};
