#pragma once
#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

// One offscreen application for the whole test program, and a program folder
// of its own for each test (settings and access files live there).
class AppTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_app";
            static char* argv[] = {name, nullptr};
            ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
            static QApplication app(argc, argv);
            QApplication::setApplicationName(QStringLiteral("Quillon"));
        }
    }
    void SetUp() override { ::setenv("QUILLON_PROGRAM_DIR", dir.path().toUtf8().constData(), 1); }
    void TearDown() override { ::unsetenv("QUILLON_PROGRAM_DIR"); }

    std::string file(const char* name) const { return (dir.path() + "/" + name).toStdString(); }
    void write(const char* name, const std::string& text) const { std::ofstream(file(name)) << text; }
    std::string read(const char* name) const
    {
        std::ifstream in(file(name));
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    QTemporaryDir dir;
};
