#include <QApplication>
#include <gtest/gtest.h>

namespace {

// Widgets, fonts and printers need an application object for the whole run.
class TQtEnvironment : public ::testing::Environment {
public:
    void SetUp() override { FApp = std::make_unique<QApplication>(FArgc, FArgv); }
    void TearDown() override { FApp.reset(); }

private:
    int FArgc = 1;
    char FName[16] = "test_gfxqt";
    char* FArgv[2] = {FName, nullptr};
    std::unique_ptr<QApplication> FApp;
};

[[maybe_unused]] const auto* Registered = ::testing::AddGlobalTestEnvironment(new TQtEnvironment);

} // namespace
