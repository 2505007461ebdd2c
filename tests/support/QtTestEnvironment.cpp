// Widgets, fonts and printers need one application object for the whole test
// run; it is created before the first test and destroyed after the last one.
#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace {

class TQtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        FApp = std::make_unique<QApplication>(FArgc, FArgv);
        QApplication::setApplicationName(QStringLiteral("Quillon"));
    }
    void TearDown() override { FApp.reset(); }

private:
    int FArgc = 1;
    char FName[16] = "quillon-test";
    char* FArgv[2] = {FName, nullptr};
    std::unique_ptr<QApplication> FApp;
};

[[maybe_unused]] const auto* Registered = ::testing::AddGlobalTestEnvironment(new TQtEnvironment);

} // namespace
