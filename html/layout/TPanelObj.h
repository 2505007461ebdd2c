#pragma once
// An embedded panel (the PANEL element): a window on the paint panel that
// the host fills. NAME, SRC, ALT, ALIGN, WIDTH, HEIGHT, TYPE, HSPACE and
// VSPACE are read as for images; the host's panel-create callback receives
// the window with the name, source and type, the panel-destroy callback is
// called when the panel goes, and printing copies ask the panel-print
// callback for a picture of it.
//
// Construction API (the builder, at PANEL):
//   auto panel = std::make_unique<TPanelObj>(document, attrs);
//   panel->ApplyStyle(ObjectStyleOf(properties));
//   section.AddImage(std::move(panel), sourceIndex);
#include <functional>
#include <memory>

#include "gfx/TControls.h"
#include "html/layout/TFloatingObj.h"

class TPanelObj : public TFloatingObj {
public:
    static constexpr int InitialWidth = 30;
    static constexpr int InitialHeight = 20;

    TPanelObj(TSectionList& document, const TAttributeList& attrs);
    ~TPanelObj() override;

    void SizeFor(TCanvas& canvas, int lineWidth, int availHeight) override;
    void Draw(TCanvas& canvas, int x, int y) override;
    std::unique_ptr<TFloatingObj> Clone(TSectionList& target) const override;

    TControl* Panel() const { return FPanel; }
    std::string Name, Source, Type;

private:
    TPanelObj(const TPanelObj& source, TSectionList& target);

    TSectionList* FDocument;
    std::unique_ptr<TControl> FOwnedPanel; // null in printing copies
    TControl* FPanel = nullptr;
    std::function<void(TControl&)> FDestroy;
};
