// The quillon program: one window, one copy per user.
#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/TFM_PlatForm.h"
#include "app/TfrmVerifier.h"

namespace {

const char HelpText[] = R"(Usage: quillon [DOCUMENT]
Shows DOCUMENT (an HTML, text or picture file, or a search results keyword) in
the Quillon reader; without one, the home page or the search page. When a copy
is already running on this display, the document is handed to it.

  --help     show this text and end
  --version  print the version and end

Settings, bookmarks and the results page live in the program folder, or in
~/.config/quillon/ when that folder cannot be written.
)";

// Answers --help and --version before any window or display is needed.
bool AnsweredOnConsole(int argc, char** argv)
{
    if (argc != 2)
        return false;
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("quillon %s\n", QUILLON_VERSION);
        return true;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(HelpText, stdout);
        return true;
    }
    return false;
}

// The reader changes its working folder (searches, program starts), so a
// program folder named relative to where it was started is fixed once, here.
void AnchorProgramFolder()
{
    const char* folder = std::getenv("QUILLON_PROGRAM_DIR");
    if (folder && *folder && *folder != '/')
        ::setenv("QUILLON_PROGRAM_DIR", std::filesystem::absolute(folder).c_str(), 1);
}

} // namespace

int main(int argc, char** argv)
{
    if (AnsweredOnConsole(argc, argv))
        return 0;
    AnchorProgramFolder();
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("quillon"), QIcon(QStringLiteral(":/icons/quillon.svg"))));
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QStringList arguments = QApplication::arguments().mid(1);

    TFM_PlatForm window;
    TfrmVerifier verifier;
    // Only the first argument is handed over, trimmed; more than one means none.
    QString argument = arguments.isEmpty() ? QString() : arguments.front().trimmed();
    // The running copy has its own current directory: a relative file name
    // is handed over as an absolute one.
    if (QFileInfo(argument).isRelative() && QFileInfo::exists(argument))
        argument = QFileInfo(argument).absoluteFilePath();
    if (!verifier.BecomeRunningCopy(argument))
        return 0;
    QObject::connect(&verifier, &TfrmVerifier::HandOver, &window, &TFM_PlatForm::HandOver);

    window.show();
    QTimer::singleShot(0, &window, [&window, arguments] { window.FirstActivation(arguments); });
    return app.exec();
}
