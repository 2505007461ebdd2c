// Shows a document in a frame-set viewer window until closed.
#include <QApplication>
#include <QMessageBox>
#include <cstdlib>

#include "html/viewer/TFrameViewer.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    TFrameViewer viewer;
    viewer.SetHistoryMaxCount(20);
    viewer.fvOptions = fvMetaRefresh | fvOverLinksActive;
    viewer.resize(argc > 3 ? std::atoi(argv[2]) : 900, argc > 3 ? std::atoi(argv[3]) : 650);
    viewer.setWindowTitle("Quillon viewer");
    viewer.show();
    try {
        viewer.ShowFile(argv[1]);
    } catch (const std::exception& e) {
        QMessageBox::critical(&viewer, "Error", e.what());
    }
    viewer.setWindowTitle(QString::fromStdString(viewer.DocumentTitle()));
    return app.exec();
}
