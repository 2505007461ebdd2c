#include "app/TFormSubmitter.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

#include "app/LinkTargets.h"
#include "app/TFM_PlatForm.h"
#include "app/TLinkDispatcher.h"
#include "app/TUserPrompts.h"
#include "app/WidgetHelpers.h"
#include "html/layout/TCheckBoxFormControlObj.h"
#include "html/layout/TEditFormControlObj.h"
#include "html/layout/TSectionList.h"
#include "html/layout/TTextAreaFormControlObj.h"
#include "html/layout/ThtmlForm.h"
#include "html/viewer/TFrameSet.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/TfvFrame.h"
#include "util/CodePage.h"
#include "util/ProgramFolder.h"
#include "util/TLocalProgramRun.h"
#include "util/Utilities.h"

namespace {

// A text area's lines joined by the two characters backslash and "n".
std::string joinedLines(const TTextAreaFormControlObj& area)
{
    std::string text = CodePage::FromUtf16(CodePage::Utf8, area.Memo().text());
    std::erase(text, '\r');
    ReplaceAllText(text, "\n", "\\n");
    return text;
}

std::string parameterLine(TFormControlObj& control)
{
    std::string line;
    if (auto* area = dynamic_cast<TTextAreaFormControlObj*>(&control))
        return area->Name() + "=" + joinedLines(*area);
    bool sends = dynamic_cast<TEditFormControlObj*>(&control) || dynamic_cast<TCheckBoxFormControlObj*>(&control);
    if (sends && control.SubmissionItem(0, line))
        return line;
    return {};
}

// Writes a new file (never through a link or over a file already there).
bool writeNewFile(const std::string& path, const std::string& text)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool ok = true;
    for (size_t done = 0; ok && done < text.size();) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        ok = n > 0;
        done += ok ? size_t(n) : 0;
    }
    return ::close(fd) == 0 && ok;
}

} // namespace

TFormSubmitter::TFormSubmitter(TFM_PlatForm& window) : QObject(&window), FWindow(window), FPoll(new QTimer(this))
{
    // Form values a killed reader left behind go at the next start.
    ClearStaleRunFolders();
    FPoll->setInterval(25);
    connect(FPoll, &QTimer::timeout, this, &TFormSubmitter::Poll);
    FStatus = window.findChild<QLabel*>("LB_URL");
    if (auto* bar = window.findChild<QWidget*>("PA_URL")) {
        FStopButton = new QPushButton(QStringLiteral("Stop"));
        FStopButton->setObjectName("BT_StopForm");
        FStopButton->setToolTip(QStringLiteral("End the form program (Esc)"));
        FStopButton->hide();
        connect(FStopButton, &QPushButton::clicked, this, &TFormSubmitter::Stop);
        if (auto* layout = qobject_cast<QHBoxLayout*>(bar->layout()))
            layout->insertWidget(2, FStopButton);
    }
}

TFormSubmitter::~TFormSubmitter()
{
    if (FRun)
        EndRun();
    FRun.reset();
    RemoveRunFolder();
}

std::vector<std::string> TFormSubmitter::ParameterLines(const TSectionList& document)
{
    std::vector<std::string> lines;
    for (const auto& form : document.Objects.Forms())
        for (TFormControlObj* control : form->ControlList())
            if (std::string line = parameterLine(*control); !line.empty())
                lines.push_back(std::move(line));
    return lines;
}

void TFormSubmitter::Submit(THTMLViewer* viewer, const std::string& action)
{
    if (!viewer || action.empty())
        return;
    Stop();
    RemoveRunFolder();
    std::string base = ExtractDir(viewer->CurrentFile());
    std::string program = AdmittedProgram(*viewer, action);
    if (program.empty())
        return;
    std::string text;
    for (const std::string& line : ParameterLines(viewer->SectionList()))
        text += line + "\n";
    FRunFolder = NewPrivateRunFolder();
    std::string params = FRunFolder + "params.cgi";
    if (FRunFolder.empty() || !writeNewFile(params, text))
        return;
    try {
        ChangeDir(base);
    } catch (const std::exception&) {
        // The program then runs in the folder we are in.
    }
    FRun = TLocalProgramRun::Start(program, params, FRunFolder);
    if (!FRun)
        return; // a program that cannot start answers nothing
    FViewer = viewer;
    FViewerFile = viewer->CurrentFile();
    FServerRoot = ExtractDir(FWindow.Viewer()->CurrentFile());
    QApplication::setOverrideCursor(Qt::BusyCursor);
    if (FStatus)
        FStatus->setText(QStringLiteral("        Running %1... (Esc stops it)").arg(ToQString(action)));
    if (FStopButton)
        FStopButton->show();
    qApp->installEventFilter(this);
    FPoll->start();
}

std::string TFormSubmitter::AdmittedProgram(THTMLViewer& viewer, const std::string& action)
{
    // The same rule as program links: the collection's own program, agreed
    // to, and never a shell or interpreter the page named from elsewhere.
    auto* links = FWindow.findChild<TLinkDispatcher*>();
    if (!links)
        return {};
    std::string base = ExtractDir(viewer.CurrentFile());
    TProgramGate::TRequest request{viewer.CurrentFile(), viewer.ServerRoot(), action,
                                   ProgramInFolder(action, base.empty() ? "./" : base),
                                   "the form's values (a parameter file)"};
    TProgramGate::TVerdict verdict = links->AdmitProgram(request);
    bool bareName = ToNativeSeparators(action).find('/') == std::string::npos;
    if (verdict.missing && !bareName)
        return {}; // a program that is not there answers nothing, as ever
    if (verdict.missing)
        verdict.refusal = "\"" + action + "\" was not started: the page's folder has no program of that name, and "
                                            "forms never start programs found elsewhere (on PATH).";
    if (!verdict.refusal.empty())
        links->Prompts().Error(ToQString(verdict.refusal));
    return verdict.program;
}

void TFormSubmitter::Stop()
{
    if (!FRun)
        return;
    FRun->Kill();
    EndRun();
    FRun.reset();
}

bool TFormSubmitter::eventFilter(QObject* watched, QEvent* event)
{
    if (FRun && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Stop();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void TFormSubmitter::Poll()
{
    if (!FRun || !FRun->Finished())
        return;
    EndRun();
    ShowOutput();
    FRun.reset();
}

void TFormSubmitter::ShowOutput()
{
    // The answer belongs to the document that asked: when the user went
    // elsewhere meanwhile, it is not pushed over what they look at now.
    if (!FViewer || FViewer->CurrentFile() != FViewerFile)
        return;
    TFrameViewer* frames = FWindow.Viewer();
    TfvFrame* frame = frames->CurrentFrameSet().FrameOf(FViewer);
    std::string target = frame && frames->CurrentFrameSet().FrameCount() > 1 ? frame->Name : std::string();
    try {
        // As a file URL: a server root never applies to the answer itself.
        frames->ShowInTarget(target, "file://" + FRun->OutputFile());
        // Rooted links of the answer page name files of the collection.
        if (THTMLViewer* answer = target.empty() ? frames->ActiveView() : frames->ViewFromTarget(target))
            answer->SetServerRoot(FServerRoot);
    } catch (const std::exception& e) {
        if (FStatus)
            FStatus->setText(QString::fromUtf8(e.what()));
    }
}

void TFormSubmitter::EndRun()
{
    FPoll->stop();
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    if (FStatus)
        FStatus->clear();
    if (FStopButton)
        FStopButton->hide();
}

void TFormSubmitter::RemoveRunFolder()
{
    if (FRunFolder.empty())
        return;
    std::error_code ec;
    std::filesystem::remove_all(FRunFolder, ec);
    FRunFolder.clear();
}
