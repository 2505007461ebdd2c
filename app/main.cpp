// The quillon program: one window, one copy per user.
#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include "app/TFM_PlatForm.h"
#include "app/TfrmVerifier.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
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
