#include "RenderFrameSet.h"

#include <algorithm>

#include "html/build/DocumentBuilder.h"
#include "html/viewer/FrameSpec.h"
#include "html/viewer/LinkNames.h"
#include "util/Exception.h"
#include "util/FileLookup.h"
#include "util/Utilities.h"

namespace {

constexpr int DefaultBorder = 2;

// One FRAMESET (its ROWS or COLS, and its frames and inner sets) or one FRAME.
struct TFrameNode {
    bool frame = false;
    std::string name, source;
    std::vector<FrameSpec> specs;
    bool rows = true;
    int border = DefaultBorder;
    std::vector<std::unique_ptr<TFrameNode>> children;
};

std::string AttrText(const TAttributeList& a, THtmlSymbol which)
{
    const TAttribute* attribute = a.Find(which);
    return attribute ? TrimText(attribute->Text) : std::string();
}

// Reads the FRAMESET structure; the outermost set, or null when there is none.
std::unique_ptr<TFrameNode> ReadFrameSets(const std::string& text, TRenderedFrameSet& out)
{
    std::unique_ptr<TFrameNode> top;
    std::vector<TFrameNode*> open;
    TFrameSetHost host;
    host.beginFrameSet = [&](const TAttributeList& a) {
        auto set = std::make_unique<TFrameNode>();
        if (const TAttribute* rows = a.Find(RowsSy))
            set->specs = ParseFrameSpecs(rows->Text);
        if (set->specs.size() <= 1)
            if (const TAttribute* cols = a.Find(ColsSy)) {
                set->specs = ParseFrameSpecs(cols->Text);
                set->rows = false;
            }
        const TAttribute* border = a.Find(BorderSy);
        if (!border)
            border = a.Find(FrameBorderSy);
        set->border = border ? std::clamp(border->Value, 0, 20) : open.empty() ? DefaultBorder : open.back()->border;
        TFrameNode* raw = set.get();
        if (open.empty())
            top = std::move(set);
        else
            open.back()->children.push_back(std::move(set));
        open.push_back(raw);
    };
    host.addFrame = [&](const TAttributeList& a) {
        if (open.empty())
            return;
        auto frame = std::make_unique<TFrameNode>();
        frame->frame = true;
        frame->name = AttrText(a, NameSy);
        frame->source = AttrText(a, SrcSy);
        frame->source = frame->source.substr(0, frame->source.find('#'));
        open.back()->children.push_back(std::move(frame));
    };
    host.endFrameSet = [&] {
        if (!open.empty())
            open.pop_back();
    };
    out.title = FrameParseString(text, host).title;
    return top;
}

struct TFrameLayout {
    TCanvas& canvas;
    std::string folder;
    int zoom;
    TRenderedFrameSet& out;

    void Place(const TFrameNode& node, const TRect& rect)
    {
        if (node.frame) {
            PlaceFrame(node, rect);
            return;
        }
        const size_t count = std::min(node.children.size(), std::max<size_t>(node.specs.size(), 1));
        if (count == 0)
            return;
        std::vector<FrameSpec> specs = node.specs.empty() ? std::vector<FrameSpec>{-1} : node.specs;
        specs.resize(count);
        const int length = node.rows ? rect.height() : rect.width();
        const int gaps = node.border * int(count - 1);
        std::vector<int> sizes = LayoutFrameSpecs(specs, std::max(0, length - gaps));
        int at = node.rows ? rect.top : rect.left;
        for (size_t i = 0; i < count; ++i) {
            TRect part = rect;
            (node.rows ? part.top : part.left) = at;
            (node.rows ? part.bottom : part.right) = at + sizes[i];
            Place(*node.children[i], part);
            at += sizes[i];
            if (i + 1 < count && node.border > 0) {
                TRect gap = rect;
                (node.rows ? gap.top : gap.left) = at;
                (node.rows ? gap.bottom : gap.right) = at + node.border;
                out.borders.push_back(gap);
                at += node.border;
            }
        }
    }

    void PlaceFrame(const TFrameNode& node, const TRect& rect)
    {
        TRenderedFrame frame;
        frame.name = node.name;
        frame.rect = rect;
        if (!node.source.empty()) {
            frame.source = node.source[0] == '/' ? node.source : folder + node.source;
            auto doc = std::make_unique<TRenderedDocument>();
            doc->doc.Zoom = zoom;
            try {
                LoadAndLayOut(frame.source, canvas, std::max(1, rect.width()), *doc);
                frame.doc = std::move(doc);
            } catch (const EFileError&) {
                // An empty frame, as the viewer shows a missing page.
            }
        }
        out.frames.push_back(std::move(frame));
    }
};

} // namespace

bool LoadFrameSet(const std::string& path, TCanvas& canvas, int width, int height, int zoom, TRenderedFrameSet& out)
{
    const std::string file = ResolveFileName(path);
    if (DocumentKindOf(file) != TDocumentKind::Html)
        return false;
    std::optional<std::string> text = ReadFileBytes(file);
    if (!text || !IsFrameSetString(*text))
        return false;
    std::unique_ptr<TFrameNode> top = ReadFrameSets(*text, out);
    if (!top)
        return false;
    const size_t slash = file.find_last_of('/');
    TFrameLayout layout{canvas, slash == std::string::npos ? std::string() : file.substr(0, slash + 1), zoom, out};
    layout.Place(*top, TRect{0, 0, width, height});
    return true;
}
