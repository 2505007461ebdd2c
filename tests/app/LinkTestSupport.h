#pragma once
// A main window whose questions and desktop hand-overs are recorded and
// answered by the test, with sounds recorded instead of played.
#include <QStringList>
#include <QUrl>
#include <memory>
#include <string>
#include <vector>

#include "app/TFM_PlatForm.h"
#include "app/TLinkDispatcher.h"
#include "app/TSoundPlayer.h"
#include "app/TUserPrompts.h"

class TRecordingPrompts : public TUserPrompts {
public:
    TRecordingPrompts() : TUserPrompts(nullptr) {}
    void Inform(const QString& text) override { informed << text; }
    void Error(const QString& text) override { errors << text; }
    bool Confirm(const QString& text) override
    {
        confirmed << text;
        return confirmAnswer;
    }
    QString SaveFileName(const QString& proposed) override
    {
        proposedNames << proposed;
        return saveAnswer;
    }
    TUnknownFileChoice AskUnknownFile(const QString& fileName) override
    {
        unknownFiles << fileName;
        return unknownAnswer;
    }
    TRunChoice AskRunProgram(const QString& program, const QString& argument, const QString& folder) override
    {
        askedPrograms << program;
        askedArguments << argument;
        askedFolders << folder;
        return runAnswer;
    }
    bool OpenWithDesktop(const QUrl& url) override
    {
        opened << url;
        return true;
    }

    QStringList informed, errors, confirmed, proposedNames, unknownFiles;
    QStringList askedPrograms, askedArguments, askedFolders;
    // The question's default button, as a reader who only presses Enter.
    TRunChoice runAnswer = TRunChoice::DontRun;
    QList<QUrl> opened;
    bool confirmAnswer = true;
    QString saveAnswer;
    TUnknownFileChoice unknownAnswer = TUnknownFileChoice::Cancel;
};

class TRecordingSound : public TSoundOutput {
public:
    bool Play(const std::string& file) override
    {
        played.push_back(file);
        return works;
    }
    void Stop() override { ++stops; }
    std::vector<std::string> played;
    int stops = 0;
    bool works = true;
};

class TLinkTestWindow : public TFM_PlatForm {
public:
    TLinkTestWindow()
    {
        auto recording = std::make_unique<TRecordingPrompts>();
        prompts = recording.get();
        findChild<TLinkDispatcher*>()->SetPrompts(std::move(recording));
        auto background = std::make_unique<TRecordingSound>();
        auto wave = std::make_unique<TRecordingSound>();
        this->background = background.get();
        this->wave = wave.get();
        findChild<TSoundPlayer*>()->SetOutputs(std::move(background), std::move(wave));
    }
    QStringList errors;
    TRecordingPrompts* prompts = nullptr;
    TRecordingSound* background = nullptr;
    TRecordingSound* wave = nullptr;

protected:
    void ReportError(const QString& message) override { errors << message; }
};
