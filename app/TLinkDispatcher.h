#pragma once
// The shell's answer to a clicked link, before the viewer follows it: macro
// locations, command words, mail and web links, files with a helper
// application, wave sounds, program links, message links and batches. What
// none of these takes is left to the viewer, except files it could only lay
// out as garbage, which the user may open with the desktop's program or save.
#include <QObject>
#include <memory>
#include <string>

#include "app/TProgramGate.h"

class QString;
class TFM_PlatForm;
class TSoundPlayer;
class TUserPrompts;

class TLinkDispatcher : public QObject {
    Q_OBJECT
public:
    TLinkDispatcher(TFM_PlatForm& window, TSoundPlayer& sounds);
    ~TLinkDispatcher() override;

    // Acts on the link; handled tells the viewer to leave it alone.
    void HotSpotTargetClick(const std::string& target, const std::string& url, bool& handled);

    TUserPrompts& Prompts() { return *FPrompts; }
    void SetPrompts(std::unique_ptr<TUserPrompts> prompts);

    // Whether a page may start a program (links, batches and forms alike),
    // asking the reader when the collection is not trusted yet. Each call
    // counts as a new action: earlier one-time answers no longer hold.
    TProgramGate::TVerdict AdmitProgram(const TProgramGate::TRequest& request);

    // Batches beyond this many items are cut short (with a word to the user).
    static constexpr size_t MaxBatchItems = 64;

private:
    struct TClick;
    bool MailOrWebLink(const TClick& click);
    void HelperLink(TClick& click, const std::string& helper);
    void SaveCopy(TClick& click);
    void ProgramOrMessageLink(TClick& click);
    void StartLinkProgram(TClick& click, const std::string& program, const std::string& arguments);
    void RunBatch(const std::string& items);
    void UnknownFileLink(TClick& click);
    void ReportStart(const std::string& message);
    std::string ProgramPath(const std::string& name);
    // The page the link was clicked in (the active view's document).
    std::string ClickedPage();
    // A program start asked for by that page, with its view's server root.
    TProgramGate::TRequest RequestFor(const std::string& written, const std::string& path,
                                      const std::string& argument);

    TFM_PlatForm& FWindow;
    TSoundPlayer& FSounds;
    std::unique_ptr<TUserPrompts> FPrompts;
    TProgramGate FGate;
};
