#include "html/layout/TSectionList.h"

#include "html/layout/TBlock.h"

#include <algorithm>

#include "gfx/TControls.h"
#include "gfx/TTimer.h"
#include "html/layout/SelTextBuf.h"
#include "html/layout/TFloatingObj.h"
#include "html/layout/TFontObj.h"
#include "html/layout/TFormControlObj.h"
#include "html/layout/TSection.h"

TSectionList::TSectionList() : TCell(this), InlineList(std::make_shared<TInlineList>()) {}

TSectionList::TSectionList(const TSectionList* source) : TCell(this)
{
    const TSectionList& s = *source;
    ShowImages = s.ShowImages;
    Printing = s.Printing;
    PrintBackground = s.PrintBackground;
    PrintMonochrome = s.PrintMonochrome;
    LinksActive = s.LinksActive;
    ManyLinks = s.ManyLinks;
    YOff = s.YOff;
    SelB = s.SelB;
    SelE = s.SelE;
    FontName = s.FontName;
    FontSize = s.FontSize;
    Zoom = s.Zoom;
    LinkColor = s.LinkColor;
    VisitedColor = s.VisitedColor;
    HoverColor = s.HoverColor;
    Background = s.Background;
    Host = s.Host;
    InlineList = s.InlineList;
    Objects.Host = s.Objects.Host;
    Objects.BitmapList = s.Objects.BitmapList;
    IsCopy = true;
    CloneSectionsFrom(s, *this);
}

std::unique_ptr<TSectionList> TSectionList::CreateCopy(const TSectionList& source)
{
    return std::unique_ptr<TSectionList>(new TSectionList(&source));
}

TSectionList::~TSectionList()
{
    // Sections unregister nothing on destruction: drop the stores first.
    LinkList.clear();
    PositionList.clear();
    // Then the sections, while the run fonts they point at still exist.
    Sections.clear();
}

void TSectionList::ClearDocument()
{
    LinkList.clear();
    FormControlList.clear();
    PanelList.clear();
    AnimList.clear();
    TabOrderList.clear();
    DrawList.Clear();
    Objects.Clear();
    Highlights.Clear();
    if (!IsCopy) {
        IDNameList.Clear();
        PositionList.clear();
        if (InlineList)
            InlineList->Clear();
    }
    Sections.clear();
    FBlockStyles.Clear();
    BackgroundImage.clear();
    FTimer.reset();
    SelB = SelE = 0;
    HoverRun = nullptr;
    HoverControl = nullptr;
    HoverControlState = 0;
    ListItemMarkerY = nullptr;
    FTextSectionCount = 0;
}

int TSectionList::LayOut(TCanvas& canvas, int y, int width, int availHeight, int& maxWidth)
{
    ++LayoutCounter;
    FCanvas = &canvas;
    if (FTimer)
        FTimer->setEnabled(false);
    for (TFormControlObj* c : FormControlList)
        c->SizeControl(canvas);
    canvas.setCharacterExtra(0);
    if (!TabOrderList.empty() && Controls) {
        std::vector<TControl*> order;
        for (auto& [key, control] : TabOrderList)
            order.push_back(control);
        Controls->setTabOrder(order);
        TabOrderList.clear();
    }
    int cursor = 0;
    ViewportWidth = std::max(0, width);
    ViewportHeight = std::max(0, availHeight);
    FixedBoxes.Clear();
    int height = DoLayout(canvas, FEdges, y, width, availHeight, maxWidth, cursor);
    if (!IsCopy && !FTimer && Controls) {
        FTimer = Controls->createTimer();
        FTimer->setInterval(50);
        FTimer->onTimer = [this] { Objects.AnimationTick(*FTimer); };
    }
    if (FTimer)
        FTimer->setEnabled(!AnimList.empty());
    ShowUnshownControls();
    if (!IsCopy && PositionList.empty())
        ListPositions();
    return height;
}

int TSectionList::PaintDocument(TPaintContext& pc, int x)
{
    if (pc.pageBottom == 0)
        pc.pageBottom = pc.yOffset + pc.clip.bottom;
    pc.nothingPrinted = true;
    if (FTimer)
        FTimer->setEnabled(false);
    if (pc.caretPos < 0 && ShowCaret)
        pc.caretPos = CaretPos;
    DrawList.Clear();
    int y = Paint(pc, x, 0, 0);
    if (!pc.printing)
        FixedBoxes.Paint(pc);
    DrawList.DrawAll(pc.canvas);
    if (YOffChange) {
        ShowUnshownControls();
        HideUnpaintedControls();
        YOffChange = false;
    }
    if (FTimer && !AnimList.empty())
        FTimer->setEnabled(true);
    return y;
}

void TSectionList::ShowUnshownControls()
{
    for (auto* list : {&FormControlList, &PanelList})
        for (TFormControlObj* c : *list)
            if (!c->Shown)
                if (TControl* w = c->TheControl()) {
                    w->setPosition(-4000, w->bounds().top);
                    w->setVisible(true);
                }
}

void TSectionList::HideUnpaintedControls()
{
    for (TFormControlObj* c : FormControlList)
        if (!c->Shown)
            if (TControl* w = c->TheControl())
                w->setVisible(false);
}

bool TSectionList::TakeProgressStep(int seq)
{
    if (FProgressPass == LayoutCounter && seq <= FProgressSeq)
        return false;
    FProgressPass = LayoutCounter;
    FProgressSeq = seq;
    return true;
}

void TSectionList::ScrollTo(int y)
{
    YOff = y;
    YOffChange = true;
    for (auto* list : {&FormControlList, &PanelList})
        for (TFormControlObj* c : *list)
            c->Shown = false;
}

void TSectionList::SetHoverLink(TFontObj* run)
{
    if (run == HoverRun)
        return;
    auto setLink = [this](TFontObj* r, bool hover) {
        if (!r)
            return;
        for (TFontObj* other : LinkList)
            if (other->Link().id == r->Link().id)
                other->SetHover(hover);
    };
    if (LinksActive) {
        setLink(HoverRun, false);
        setLink(run, true);
        if (Host.invalidate)
            Host.invalidate();
    }
    HoverRun = run;
}

bool TSectionList::ObjectAt(int x, int y, TFloatingObj*& obj, int& xObj, int& yObj)
{
    if (TBlock* fixed = FixedBoxes.BoxAt(x, y - YOff))
        return fixed->ObjectAt(x, y - YOff, obj, xObj, yObj);
    return TCellBasic::ObjectAt(x, y, obj, xObj, yObj);
}

int TSectionList::PositionAt(TCanvas& canvas, int x, int y, TCaretHit& hit)
{
    if (TBlock* fixed = FixedBoxes.BoxAt(x, y - YOff))
        return fixed->PositionAt(canvas, x, y - YOff, hit);
    return TCellBasic::PositionAt(canvas, x, y, hit);
}

int TSectionList::LinkAt(TCanvas& canvas, int x, int y, TLinkHit& hit)
{
    Objects.BeginHitTest();
    TBlock* fixed = FixedBoxes.BoxAt(x, y - YOff);
    int flags = fixed ? fixed->LinkAt(canvas, x, y - YOff, hit) : TCellBasic::LinkAt(canvas, x, y, hit);
    Objects.EndHitTest(0);
    SetHoverLink((flags & HitLink) ? hit.run : nullptr);
    TFormControlObj* control = (flags & HitControl) ? hit.control : nullptr;
    if (control != HoverControl) {
        HoverControl = control;
        HoverControlState = control ? 1 : 0;
        if (Host.invalidate)
            Host.invalidate();
    }
    return flags;
}

void TSectionList::ClearHover()
{
    SetHoverLink(nullptr);
    Objects.ClearHover();
    HoverControl = nullptr;
    HoverControlState = 0;
    if (Host.invalidate)
        Host.invalidate();
}

void TSectionList::SetLinkPressed(bool down)
{
    Objects.SetPressed(down);
    if (!HoverControl)
        return;
    HoverControlState = down ? 2 : 1;
    if (Host.invalidate)
        Host.invalidate();
}

bool TSectionList::CaretXY(TCanvas& canvas, int pos, int& x, int& y)
{
    int length = Len;
    if (pos >= length && length > 0) {
        if (!TCellBasic::CaretXY(canvas, length - 1, x, y))
            return false;
        y += 15;
        return true;
    }
    return TCellBasic::CaretXY(canvas, pos, x, y);
}

int TSectionList::DocPosOf(int sourcePos, bool previous) const
{
    int pos = TCellBasic::DocPosOf(sourcePos, previous);
    return pos < 0 ? Len : pos;
}

TSectionBase* TSectionList::SectionAtY(int y, int& sectionY, int& index) const
{
    for (size_t i = PositionList.size(); i-- > 0;)
        if (PositionList[i]->YPosition() <= y) {
            sectionY = PositionList[i]->YPosition();
            index = int(i);
            return PositionList[i];
        }
    return nullptr;
}

int TSectionList::GetSelLength()
{
    if (SelE <= SelB)
        return 0;
    SelTextCount counter;
    FSelBuffer = &counter;
    CopySelection();
    FSelBuffer = nullptr;
    return counter.Length();
}

std::u16string TSectionList::GetSelText()
{
    int length = GetSelLength();
    if (length == 0)
        return {};
    SelTextBuf buffer(length);
    FSelBuffer = &buffer;
    CopySelection();
    FSelBuffer = nullptr;
    return buffer.Text();
}

void TSectionList::CopyToClipboard()
{
    int length = GetSelLength();
    ClipBuffer buffer(length);
    FSelBuffer = &buffer;
    CopySelection();
    FSelBuffer = nullptr;
    buffer.CopyToClipboard(Host.copyToClipboard);
}

void TSectionList::SetFonts(const std::string& name, int size, TColor link, TColor visited, TColor hover,
                            bool linksActive, TColor background)
{
    FontName = name.substr(0, 32);
    FontSize = size;
    LinkColor = link;
    VisitedColor = visited;
    HoverColor = hover;
    LinksActive = linksActive;
    SetBackground(background);
}

void TSectionList::SetBackground(TColor color)
{
    Background = color;
    if (Host.backgroundChanged)
        Host.backgroundChanged(color);
}

std::string TSectionList::Dump() const
{
    std::string out;
    TCellBasic::Dump(out, 0);
    return out;
}

void TSectionList::AddID(const std::string& name, TIDObject* obj)
{
    if (!name.empty() && obj && !IDNameList.Find(name))
        IDNameList.AddObject(name, obj);
}

void TSectionList::AddChPosID(const std::string& name, int32_t sourcePos)
{
    if (!name.empty())
        IDNameList.AddChPosObject(name, sourcePos);
}

TIDObject* TSectionList::FindID(const std::string& name) const
{
    return IDNameList.Find(name);
}

void TSectionList::ForgetSection(TSection& section)
{
    // The section's runs were the last ones registered.
    while (!LinkList.empty() && LinkList.back()->Section() == &section)
        LinkList.pop_back();
    if (section.RegisteredID)
        IDNameList.RemoveObject(&section);
}

void TSectionList::ReportError(const std::string& message)
{
    if (Host.showError)
        Host.showError(message);
}
