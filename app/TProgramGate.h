#pragma once
// Decides, before every program start a page asks for (a program link, a
// batch item, a form's action), whether that program may start:
//   - pages the program generated (results page, message page) start nothing;
//   - the asking page must belong to the reader's document collection
//     (TCollection), and the program's real path must lie inside it and
//     outside the system's program folders;
//   - then the collection must be trusted: by the publisher's access file,
//     by an earlier "Always for this collection", or by the reader's answer.
// Refusals carry a message naming the program; declining says nothing.
#include <map>
#include <string>

class TCollection;
class TFM_PlatForm;
class TUserPrompts;

class TProgramGate {
public:
    // Settings section of the collections whose programs start without a
    // question: one "Folder<n>" key per collection folder (the value).
    static constexpr const char* TrustSection = "TrustedCollections";
    // Access-file key, section "Advance": 1 lets the publisher's collection
    // (the program folder and its medium, the home page's folder) start its
    // programs without a question.
    static constexpr const char* AccessTrustKey = "TRUST_PROGRAMS";

    struct TRequest {
        std::string page; // the file of the page that asks
        std::string serverRoot; // that page's viewer's server root
        std::string written; // the program as the page wrote it (for messages)
        std::string path; // the file that names, resolved from the page
        std::string argument; // what it would be given (shown in the question)
    };
    struct TVerdict {
        std::string program; // the real path to start; empty when nothing starts
        std::string refusal; // why not, for the user; empty when the reader said no
        bool missing = false; // refused because no executable file is there
    };

    explicit TProgramGate(TFM_PlatForm& window)
        : FWindow(window)
    {
    }

    TVerdict Admit(const TRequest& request, TUserPrompts& prompts);
    // Whether a file is a page the program wrote itself (results or message page).
    bool GeneratedPage(const std::string& page) const;
    // A new click or form submission: "Run once" and "Don't run" answers
    // given for the last one no longer hold (within one batch they do).
    void NewAction() { FAnswers.clear(); }

    // Why a generated page starts nothing, for messages.
    static constexpr const char* GeneratedPageRule
        = "pages this program generated (search results, messages) only open documents.";

private:
    TCollection CollectionFor(const TRequest& request) const;
    bool PageBelongs(
        const std::string& page, const std::string& serverRoot, const TCollection& collection) const;
    std::string Refusal(
        const TRequest& request, const std::string& real, const TCollection& collection) const;
    bool Trusted(const std::string& real, const TCollection& collection) const;
    bool Agreed(
        const TRequest& request, const std::string& real, const std::string& folder, TUserPrompts& prompts);
    void RememberTrust(const std::string& folder, TUserPrompts& prompts);

    TFM_PlatForm& FWindow;
    std::map<std::string, bool> FAnswers; // collection folder -> agreed, for the current action
};
