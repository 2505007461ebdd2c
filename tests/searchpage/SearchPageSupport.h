#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QStringList>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/app/AppTestSupport.h"

// Answers every modal message box that comes up (they would block an offscreen
// test) and records its text.
class TBoxCatcher {
public:
    TBoxCatcher()
    {
        FTimer.setInterval(5);
        QObject::connect(&FTimer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                Texts << box->text();
                box->done(QMessageBox::Ok);
            }
        });
        FTimer.start();
    }
    QStringList Texts;

private:
    QTimer FTimer;
};

// A test with its own program folder and a folder of documents to search.
class SearchPageTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        docs = (dir.path() + "/docs/").toStdString();
        std::filesystem::create_directories(docs);
        // A search ends in the program folder, which goes away with the test.
        savedDirectory = std::filesystem::current_path();
    }
    void TearDown() override
    {
        std::filesystem::current_path(savedDirectory);
        AppTest::TearDown();
    }
    void document(const std::string& name, const std::string& text) const
    {
        std::filesystem::create_directories(std::filesystem::path(docs + name).parent_path());
        std::ofstream(docs + name, std::ios::binary) << text;
    }
    static std::string slurp(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    std::string docs;
    std::filesystem::path savedDirectory;
};

template <typename T>
T* child(QObject& parent, const char* name)
{
    T* found = parent.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}
