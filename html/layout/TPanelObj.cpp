#include "html/layout/TPanelObj.h"

#include "html/layout/ObjectAttributes.h"
#include "html/layout/TSectionList.h"

TPanelObj::TPanelObj(TSectionList& document, const TAttributeList& attrs)
    : TFloatingObj(document, attrs), FDocument(&document)
{
    Name = AttrText(attrs, NameSy);
    Source = AttrText(attrs, SrcSy);
    Type = AttrText(attrs, TypeSy);
    FOwnedPanel = document.Objects.ControlFactory().createTabStop();
    FPanel = FOwnedPanel.get();
    FPanel->setColor(0xFFFFFF);
    FPanel->setBounds({-4000, 0, -4000 + InitialWidth, InitialHeight});
    const TObjectHost& host = document.Objects.Host;
    FDestroy = host.panelDestroy;
    if (host.panelCreate)
        host.panelCreate(Name, *FPanel, Source, Type);
}

TPanelObj::TPanelObj(const TPanelObj& source, TSectionList& target)
    : TFloatingObj(source), Name(source.Name), Source(source.Source), Type(source.Type), FDocument(&target),
      FPanel(source.FPanel)
{
}

TPanelObj::~TPanelObj()
{
    if (FOwnedPanel && FDestroy)
        FDestroy(*FOwnedPanel);
}

std::unique_ptr<TFloatingObj> TPanelObj::Clone(TSectionList& target) const
{
    return std::unique_ptr<TFloatingObj>(new TPanelObj(*this, target));
}

void TPanelObj::SizeFor(TCanvas&, int lineWidth, int availHeight)
{
    int w = SpecWidth > 0 ? (PercentWidth ? int((long long)std::max(0, lineWidth) * SpecWidth / 100) : SpecWidth)
                          : FPanel->bounds().width();
    int h = SpecHeight > 0
                ? (PercentHeight ? int((long long)std::max(0, availHeight) * SpecHeight / 100) : SpecHeight)
                : FPanel->bounds().height();
    ObjWidth = std::max(0, w);
    ObjHeight = std::max(0, h);
    if (FOwnedPanel)
        FPanel->setSize(ObjWidth, ObjHeight);
}

void TPanelObj::Draw(TCanvas& canvas, int x, int y)
{
    if (FOwnedPanel) {
        FPanel->setBounds({x, y, x + ObjWidth, y + ObjHeight});
        FPanel->setVisible(true);
        return;
    }
    TBitmap picture(ObjWidth, ObjHeight, 0xFFFFFFFFu);
    const auto& print = FDocument->Objects.Host.panelPrint;
    if (print && FPanel)
        print(*FPanel, picture);
    canvas.drawBitmap({x, y, x + ObjWidth, y + ObjHeight}, picture);
}
