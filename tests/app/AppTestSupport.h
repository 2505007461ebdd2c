#pragma once
#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

// A program folder of its own for each test (settings and access files live there).
class AppTest : public ::testing::Test {
protected:
    // Loading a document moves the current directory; each test gets it back.
    void SetUp() override
    {
        ::setenv("QUILLON_PROGRAM_DIR", dir.path().toUtf8().constData(), 1);
        previousDirectory = std::filesystem::current_path();
    }
    void TearDown() override
    {
        std::filesystem::current_path(previousDirectory);
        ::unsetenv("QUILLON_PROGRAM_DIR");
    }

    std::string file(const char* name) const { return (dir.path() + "/" + name).toStdString(); }
    void write(const char* name, const std::string& text) const { std::ofstream(file(name)) << text; }
    std::string read(const char* name) const
    {
        std::ifstream in(file(name));
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    QTemporaryDir dir;
    std::filesystem::path previousDirectory;
};
