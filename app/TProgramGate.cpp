#include "app/TProgramGate.h"

#include <QFileInfo>
#include <algorithm>
#include <unistd.h>

#include "app/TFM_PlatForm.h"
#include "app/TSearchPage.h"
#include "app/TUserPrompts.h"
#include "app/WidgetHelpers.h"
#include "util/FileLookup.h"
#include "util/ProgramFolder.h"
#include "util/TCollection.h"
#include "util/TIniFile.h"
#include "util/Utilities.h"

namespace {

std::string notStarted(const std::string& written, const std::string& why)
{
    return "\"" + written + "\" was not started: " + why;
}

bool isExecutableFile(const std::string& realPath)
{
    return QFileInfo(ToQString(realPath)).isFile() && ::access(realPath.c_str(), X_OK) == 0;
}

// The folders the reader was told always to trust, as real paths.
std::vector<std::string> trustedFolders(const TIniFile& settings)
{
    std::vector<std::string> folders;
    for (const std::string& line : settings.ReadSectionValues(TProgramGate::TrustSection))
        if (std::string real = RealPath(line.substr(line.find('=') + 1)); !real.empty() && real.back() == '/')
            folders.push_back(std::move(real));
    return folders;
}

} // namespace

bool TProgramGate::GeneratedPage(const std::string& page) const
{
    std::string real = RealPath(page);
    if (real.empty())
        return false;
    const std::string generated[] = {
        ToUtf8(FWindow.SearchPage()->ResultFile()),
        WritableDir() + "KVRESULT.HTM",
        ProgramDir() + "KVRESULT.HTM",
        ProgramDir() + "KOVRAMSG.HTM",
    };
    for (const std::string& file : generated)
        if (!file.empty() && RealPath(ResolveFileName(file)) == real)
            return true;
    return false;
}

TCollection TProgramGate::CollectionFor(const TRequest& request) const
{
    return TCollection::Of(
        {ProgramDir(), ToUtf8(FWindow.StartDocument()), ToUtf8(FWindow.HomePage()), request.serverRoot});
}

bool TProgramGate::PageBelongs(
    const std::string& page, const std::string& serverRoot, const TCollection& collection) const
{
    std::string real = RealPath(page);
    if (real.empty())
        return false;
    if (collection.Holds(real))
        return true;
    // A form's answer lives in our private folder; the server root it was
    // given names the collection whose program wrote it.
    std::string privateFolder = RealPath(PrivateTempDir());
    return !serverRoot.empty() && !privateFolder.empty() && PathWithin(real, privateFolder)
        && collection.Holds(RealPath(serverRoot));
}

std::string TProgramGate::Refusal(const TRequest& request, const std::string& real,
                                  const TCollection& collection) const
{
    const std::string& written = request.written;
    if (GeneratedPage(request.page))
        return notStarted(written, GeneratedPageRule);
    if (real.empty() || !isExecutableFile(real))
        return written + " not found";
    if (InSystemProgramFolder(real))
        return notStarted(written, "it is one of the system's programs (" + real
                                       + "), not part of the document collection.");
    if (!PageBelongs(request.page, request.serverRoot, collection))
        return notStarted(written, "the page " + request.page
                                       + " is not part of the document collection, so it may not start programs.");
    if (!collection.Holds(real))
        return notStarted(written, real + " is not part of the document collection; pages start only their own "
                                          "collection's programs.");
    return {};
}

bool TProgramGate::Trusted(const std::string& real, const TCollection& collection) const
{
    if (FWindow.AccessModes().TrustPrograms && collection.PublishedFolderHolds(real))
        return true;
    for (const std::string& folder : trustedFolders(TIniFile(ToUtf8(FWindow.SettingsFileName()))))
        if (PathWithin(real, folder))
            return true;
    return false;
}

void TProgramGate::RememberTrust(const std::string& folder, TUserPrompts& prompts)
{
    TIniFile settings(ToUtf8(FWindow.SettingsFileName()));
    std::vector<std::string> keys = settings.ReadSection(TrustSection);
    auto taken = [&keys](const std::string& name) {
        return std::any_of(keys.begin(), keys.end(), [&](const std::string& key) { return SameTextNoCase(key, name); });
    };
    int number = 1;
    while (taken("Folder" + std::to_string(number)))
        ++number;
    try {
        settings.WriteString(TrustSection, "Folder" + std::to_string(number), folder);
    } catch (const std::exception& e) {
        // The program still starts this once: the reader agreed to that.
        prompts.Error(QString::fromUtf8(e.what()));
    }
}

bool TProgramGate::Agreed(
    const TRequest& request, const std::string& real, const std::string& folder, TUserPrompts& prompts)
{
    if (auto known = FAnswers.find(folder); known != FAnswers.end())
        return known->second;
    TUserPrompts::TRunChoice choice
        = prompts.AskRunProgram(ToQString(real), ToQString(request.argument), ToQString(ExtractDir(real)));
    if (choice == TUserPrompts::TRunChoice::Always)
        RememberTrust(folder, prompts);
    bool agreed = choice != TUserPrompts::TRunChoice::DontRun;
    FAnswers[folder] = agreed;
    return agreed;
}

TProgramGate::TVerdict TProgramGate::Admit(const TRequest& request, TUserPrompts& prompts)
{
    std::string real = RealPath(request.path);
    TCollection collection = CollectionFor(request);
    if (std::string refusal = Refusal(request, real, collection); !refusal.empty())
        return{{}, refusal, !GeneratedPage(request.page) && (real.empty() || !isExecutableFile(real))};
    if (Trusted(real, collection) || Agreed(request, real, collection.FolderHolding(real), prompts))
        return{real, {}};
    return {};
}
