#include "app/TLinkDispatcher.h"

#include <QApplication>
#include <algorithm>
#include <QFileInfo>
#include <QLineEdit>
#include <QUrl>
#include <vector>

#include "app/HelperLookup.h"
#include "app/LinkTargets.h"
#include "app/TFM_PlatForm.h"
#include "app/TSoundPlayer.h"
#include "app/TUserPrompts.h"
#include "app/WidgetHelpers.h"
#include "html/viewer/TFrameViewer.h"
#include "util/FileLookup.h"
#include "util/TIniFile.h"
#include "util/Utilities.h"

namespace {

const char* const UnreachableMessage =
    "The hyperlink specified is unreachable.The path/filename in the html file may be incorrect.";

std::string withoutAnchor(const std::string& location) { return location.substr(0, location.find('#')); }

bool isRegularFile(const std::string& path) { return !path.empty() && QFileInfo(ToQString(path)).isFile(); }

void changeDirQuietly(const std::string& folder)
{
    try {
        ChangeDir(folder);
    } catch (const std::exception&) {
        // Relative names then resolve against the folder we are in.
    }
}

// Shows a wait cursor for the length of a scope.
struct TWaitCursor {
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

std::string TLinkDispatcher::ProgramPath(const std::string& name)
{
    // Found from the document, a bare name in the document's folder: never
    // on PATH, which would let a page pick any of the system's programs.
    return FWindow.Viewer()->ExpandLinkName(name);
}

std::string TLinkDispatcher::ClickedPage()
{
    THTMLViewer* view = FWindow.Viewer()->ActiveView();
    return view ? view->CurrentFile() : FWindow.Viewer()->CurrentFile();
}

TProgramGate::TRequest TLinkDispatcher::RequestFor(const std::string& written, const std::string& path,
                                                   const std::string& argument)
{
    THTMLViewer* view = FWindow.Viewer()->ActiveView();
    return {ClickedPage(), view ? view->ServerRoot() : std::string(), written, path, argument};
}

TProgramGate::TVerdict TLinkDispatcher::AdmitProgram(const TProgramGate::TRequest& request)
{
    FGate.NewAction();
    return FGate.Admit(request, *FPrompts);
}

// What one click knows as the rules go along.
struct TLinkDispatcher::TClick {
    std::string url;
    std::string expanded; // macro-expanded, then against the current document
    std::string openItem; // the expanded location when it is a file, else the URL
    bool kind = false;     // a rule took care of the link
    bool location = true;  // the location bar shows the current file afterwards
};

TLinkDispatcher::TLinkDispatcher(TFM_PlatForm& window, TSoundPlayer& sounds)
    : QObject(&window), FWindow(window), FSounds(sounds), FPrompts(std::make_unique<TUserPrompts>(&window)),
      FGate(window)
{
}

TLinkDispatcher::~TLinkDispatcher() = default;

void TLinkDispatcher::SetPrompts(std::unique_ptr<TUserPrompts> prompts) { FPrompts = std::move(prompts); }

void TLinkDispatcher::HotSpotTargetClick(const std::string&, const std::string& url, bool& handled)
{
    handled = false;
    FGate.NewAction();
    TClick click{url, {}, url};
    std::string macro = url;
    ExpandExeMacros(macro);
    bool macroLoaded = macro != url && FindNoCase(url, "qxbatch") == std::string::npos;
    if (macroLoaded)
        FWindow.LoadHTMLFile(ToQString(macro));
    TFrameViewer& viewer = *FWindow.Viewer();
    click.expanded = viewer.ExpandLinkName(macro);
    if (isRegularFile(withoutAnchor(click.expanded)))
        click.openItem = withoutAnchor(click.expanded);

    if (FWindow.RunPseudoCommand(ToQString(url).toUpper()) || MailOrWebLink(click)) {
        handled = true;
        return;
    }
    std::string extension = LinkExtension(url);
    if (extension == ".htm" || extension == ".html")
        if (THTMLViewer* active = viewer.ActiveView())
            changeDirQuietly(ExtractDir(active->CurrentFile()));
    std::string helper = HelperForExtension(ToUtf8(FWindow.SettingsFileName()), extension);
    changeDirQuietly(ExtractDir(withoutAnchor(click.expanded)));
    if (!helper.empty()) {
        if (helper == DefaultAppValue) {
            FPrompts->OpenWithDesktop(isRegularFile(click.openItem) ? QUrl::fromLocalFile(ToQString(click.openItem))
                                                                    : QUrl(ToQString(url)));
            handled = true;
            return;
        }
        HelperLink(click, helper);
    } else if (extension == ".wav") {
        click.kind = true;
        FSounds.PlayWave(withoutAnchor(click.expanded));
    } else {
        ProgramOrMessageLink(click);
        if (!click.kind)
            UnknownFileLink(click);
    }
    handled = click.kind || macroLoaded;
    if (click.location)
        if (auto* location = FWindow.findChild<QLineEdit*>("ED_Location"))
            location->setText(FWindow.CurrentFile());
}

bool TLinkDispatcher::MailOrWebLink(const TClick& click)
{
    QString lower = ToQString(click.url).toLower();
    // Only web addresses: "http-notes.desktop" beside the page is a file of its own.
    bool web = lower.startsWith("http://") || lower.startsWith("https://");
    const char* section = lower.startsWith("mailto:") ? "Email" : web ? "WebBrowser" : nullptr;
    if (!section)
        return false;
    std::string program = TIniFile(ToUtf8(FWindow.SettingsFileName())).ReadString(section, "Program", "");
    if (program.empty())
        return true; // nothing configured: the click is answered all the same
    TWaitCursor wait;
    if (program == DefaultAppValue)
        FPrompts->OpenWithDesktop(QUrl(ToQString(click.openItem)));
    else
        ReportStart(RunProgram(program, click.url));
    return true;
}

void TLinkDispatcher::HelperLink(TClick& click, const std::string& helper)
{
    click.kind = true;
    if (helper == SaveToDiskValue)
        SaveCopy(click);
    else
        ReportStart(RunProgram(helper, withoutAnchor(click.expanded)));
}

void TLinkDispatcher::SaveCopy(TClick& click)
{
    std::string source = withoutAnchor(click.expanded);
    QString chosen = FPrompts->SaveFileName(QFileInfo(ToQString(source)).fileName());
    if (chosen.isEmpty())
        return;
    if (QFileInfo::exists(chosen) && !FPrompts->Confirm(QStringLiteral("File already exists, overwrite?"))) {
        click.location = false;
        return;
    }
    TWaitCursor wait;
    try {
        CopyFileKeepDate(source, ToUtf8(chosen));
    } catch (const std::exception& e) {
        FPrompts->Error(QString::fromUtf8(e.what()));
    }
}

void TLinkDispatcher::ProgramOrMessageLink(TClick& click)
{
    TProgramLink link = SplitProgramLink(click.url);
    std::string quoted = link.arguments.empty() ? std::string() : "\"" + link.arguments + "\"";
    bool batch = FindNoCase(link.program, "qxbatch") != std::string::npos;
    std::string resolved = FWindow.Viewer()->ExpandLinkName(link.program);
    if (!batch && IsProgramLink(link.program, resolved)) {
        click.kind = true;
        StartLinkProgram(click, link.program, link.arguments);
        return;
    }
    std::string name = ToNativeSeparators(link.program);
    name = name.substr(name.rfind('/') + 1);
    if (SameTextNoCase(name, "SHOWMESSAGE")) {
        FPrompts->Inform(ToQString(quoted));
        click.kind = true;
        click.location = false;
    } else if (link.program.find("QXBATCH") != std::string::npos) {
        click.kind = true;
        click.location = false;
        if (FGate.GeneratedPage(ClickedPage())) {
            ReportStart(std::string("The batch link was not carried out: ") + TProgramGate::GeneratedPageRule);
            return;
        }
        std::string items = click.url.size() > 8 ? click.url.substr(8) : std::string();
        ExpandExeMacros(items);
        RunBatch(items);
    }
}

void TLinkDispatcher::StartLinkProgram(TClick& click, const std::string& program, const std::string& arguments)
{
    std::string path = ProgramPath(program);
    if (ToNativeSeparators(program).find('/') != std::string::npos && !isRegularFile(path)) {
        FPrompts->Inform(QString::fromUtf8(UnreachableMessage));
        click.location = false;
        return;
    }
    TProgramGate::TVerdict verdict = FGate.Admit(RequestFor(program, path, arguments), *FPrompts);
    if (verdict.program.empty()) {
        ReportStart(verdict.refusal);
        click.location = false;
        return;
    }
    ReportStart(RunProgram(verdict.program, arguments));
}

void TLinkDispatcher::RunBatch(const std::string& text)
{
    struct TItem {
        std::string left, right;
    };
    std::vector<TItem> programs, frames;
    size_t count = 0;
    bool cut = false;
    for (size_t start = 0; start <= text.size() && !cut;) {
        size_t end = std::min(text.find('&', start), text.size());
        std::string item = text.substr(start, end - start);
        start = end + 1;
        size_t bar = item.find('|');
        if (bar == std::string::npos)
            continue;
        cut = ++count > MaxBatchItems;
        if (cut)
            break;
        TItem entry{item.substr(0, bar), item.substr(bar + 1)};
        (FindNoCase(entry.left, ".exe") != std::string::npos ? programs : frames).push_back(std::move(entry));
    }
    std::vector<std::string> failures;
    for (const TItem& item : programs) {
        TProgramGate::TRequest request = RequestFor(item.left, ProgramPath(item.left), item.right);
        TProgramGate::TVerdict verdict = FGate.Admit(request, *FPrompts);
        std::string message = verdict.program.empty() ? verdict.refusal : RunProgram(verdict.program, item.right);
        if (!message.empty() && std::find(failures.begin(), failures.end(), message) == failures.end())
            failures.push_back(message);
    }
    TFrameViewer& viewer = *FWindow.Viewer();
    for (const TItem& item : frames) {
        THTMLViewer* frame = viewer.ViewFromTarget(item.left);
        if (!frame)
            continue; // no such frame here: only this item is skipped
        size_t hash = item.right.find('#');
        std::string document = item.right.substr(0, hash);
        std::string anchor = hash == std::string::npos ? std::string() : item.right.substr(hash);
        try {
            if (!document.empty() && FindNoCase(frame->CurrentFile(), ToNativeSeparators(document)) != std::string::npos)
                frame->GotoAnchor(anchor);
            else
                viewer.ShowInTarget(item.left, item.right);
        } catch (const std::exception& e) {
            failures.push_back(e.what());
        }
    }
    if (cut)
        failures.push_back("The batch link has more than " + std::to_string(MaxBatchItems)
                           + " items; only the first " + std::to_string(MaxBatchItems) + " were carried out.");
    std::string joined;
    for (const std::string& failure : failures)
        joined += (joined.empty() ? "" : "\n") + failure;
    ReportStart(joined);
}

void TLinkDispatcher::UnknownFileLink(TClick& click)
{
    // Files the viewer would lay out as a page of garbage (programs, sounds,
    // archives...): the desktop may know what to do with them.
    std::string file = click.openItem;
    if (click.url.starts_with('#') || !isRegularFile(file) || FileContentOf(file) != TFileContent::Other)
        return;
    click.kind = true;
    click.location = false;
    switch (FPrompts->AskUnknownFile(QFileInfo(ToQString(file)).fileName())) {
    case TUserPrompts::TUnknownFileChoice::Open:
        FPrompts->OpenWithDesktop(QUrl::fromLocalFile(ToQString(file)));
        break;
    case TUserPrompts::TUnknownFileChoice::Save:
        SaveCopy(click);
        break;
    case TUserPrompts::TUnknownFileChoice::Cancel:
        break;
    }
}

void TLinkDispatcher::ReportStart(const std::string& message)
{
    if (!message.empty())
        FPrompts->Error(ToQString(message));
}
