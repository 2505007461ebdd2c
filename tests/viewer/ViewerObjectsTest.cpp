// The viewer's side of pictures and forms: image files next to the document,
// the image cache, pictures whose data arrives later, form controls as
// widgets and form submission.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "html/layout/TImageFormControlObj.h"
#include "html/layout/TImageObj.h"
#include "html/layout/ThtmlForm.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"
#include "html/layout/TStringBitmapList.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TPaintPanel.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

using viewertest::ImageById;
using viewertest::SampleImage;

struct ObjectsFixture : ::testing::Test {
    viewertest::Files files;
    THTMLViewer viewer;
    ObjectsFixture()
    {
        viewer.resize(500, 300);
        viewer.show();
    }
};

} // namespace

TEST_F(ObjectsFixture, PicturesNextToTheDocumentAreFoundIgnoringCase)
{
    files.Write("BULLET.GIF", SampleImage("bullet.gif"));
    viewer.ShowFile(files.Write("page.htm", "<p>dot <img id=b src=\"bullet.gif\"> <img id=m src=\"missing.gif\" width=20 height=20>"));
    TImageObj* found = ImageById(viewer, "b");
    TImageObj* missing = ImageById(viewer, "m");
    ASSERT_NE(found, nullptr);
    ASSERT_NE(missing, nullptr);
    EXPECT_TRUE(found->HasPicture());
    EXPECT_GT(found->ObjWidth, 0);
    EXPECT_FALSE(missing->HasPicture());
    EXPECT_EQ(missing->Placeholder(), TPlaceholder::Error);
}

TEST_F(ObjectsFixture, CacheIsSharedAndAgedByLoads)
{
    files.Write("bullet.gif", SampleImage("bullet.gif"));
    auto shared = std::make_shared<TStringBitmapList>();
    viewer.SetImageCache(shared);
    EXPECT_EQ(&viewer.ImageCache(), shared.get());
    std::string page = files.Write("page.htm", "<img src=\"bullet.gif\">");
    viewer.ShowFile(page);
    EXPECT_EQ(shared->Count(), 1u);
    // Documents without the picture age it out after MaxAge loads.
    std::string plain = files.Write("plain.htm", "no pictures");
    for (int i = 0; i <= shared->MaxAge() + 1; ++i)
        viewer.ShowFile(plain);
    EXPECT_EQ(shared->Count(), 0u);
}

TEST_F(ObjectsFixture, WaitingPictureIsShownWhenItsDataArrives)
{
    std::string requested;
    viewer.SectionList().Objects.Host.streamRequest = [&](const std::string& name) {
        requested = name;
        return TImageStream{TImageStream::Kind::Wait, {}};
    };
    viewer.ShowHtmlText("<img id=l src=\"later.gif\">");
    TImageObj* image = ImageById(viewer, "l");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(requested, "later.gif");
    EXPECT_FALSE(image->HasPicture());
    std::string bytes = SampleImage("bullet.gif");
    viewer.InsertImage("later.gif", TByteSpan(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_TRUE(ImageById(viewer, "l")->HasPicture());
}

TEST_F(ObjectsFixture, FormControlsAreWidgetsAndSubmitThroughTheViewer)
{
    std::vector<std::string> items;
    std::string action;
    viewer.OnFormSubmit = [&](THTMLViewer*, const std::string& a, const std::string&, const std::string&,
                              const std::string&, const std::vector<std::string>& results) {
        action = a;
        items = results;
    };
    viewer.ShowHtmlText("<form action=\"find.htm\"><input name=q value=lamp><input type=submit value=Go></form>");
    QApplication::processEvents();
    auto edits = viewer.findChildren<QLineEdit*>();
    ASSERT_EQ(edits.size(), 1);
    EXPECT_EQ(edits[0]->text(), "lamp");
    QPushButton* go = nullptr;
    for (QPushButton* b : viewer.findChildren<QPushButton*>())
        if (b->text() == "Go")
            go = b;
    ASSERT_NE(go, nullptr);
    QTest::mouseClick(go, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(action, "find.htm");
    EXPECT_EQ(items, std::vector<std::string>{"q=lamp"});
}

// What was typed and chosen comes back with the page: from history and on
// reload; a page without forms in between keeps nothing.
TEST_F(ObjectsFixture, FormContentsComeBackWithThePage)
{
    viewer.SetHistoryMaxCount(10);
    std::string form = files.Write("form.htm", "<form><input name=who value=keeper>"
                                               "<input type=checkbox name=lit value=yes>"
                                               "<select name=wind><option>north<option>south</select></form>"
                                               "<form><input name=second></form>");
    std::string other = files.Write("other.htm", "<p>No forms here.");
    auto state = [&] {
        std::vector<std::string> all;
        for (const auto& f : viewer.SectionList().Objects.Forms())
            for (const std::string& item : f->SaveFormData())
                all.push_back(item);
        return all;
    };
    viewer.ShowFile(form);
    QApplication::processEvents();
    auto edits = viewer.findChildren<QLineEdit*>();
    ASSERT_EQ(edits.size(), 2);
    edits[0]->setText("relief keeper");
    edits[1]->setText("log");
    auto boxes = viewer.findChildren<QCheckBox*>();
    ASSERT_EQ(boxes.size(), 1);
    boxes[0]->setChecked(true);
    auto combos = viewer.findChildren<QComboBox*>();
    ASSERT_EQ(combos.size(), 1);
    combos[0]->setCurrentIndex(1);
    const std::vector<std::string> typed{"who=relief keeper", "lit=yes", "wind=south", "second=log"};
    ASSERT_EQ(state(), typed);

    viewer.ShowFile(other);
    viewer.SetHistoryIndex(1);
    ASSERT_EQ(viewer.CurrentFile(), form);
    EXPECT_EQ(state(), typed);

    viewer.Reload();
    EXPECT_EQ(state(), typed);

    viewer.ShowFile(other);
    viewer.ShowFile(form); // a new visit starts from the page's own values
    EXPECT_EQ(state(), (std::vector<std::string>{"who=keeper", "wind=north", "second="}));
}

TEST_F(ObjectsFixture, ClickOnAnImageInputSubmitsWithThePoint)
{
    files.Write("beam.gif", SampleImage("beam.gif"));
    std::vector<std::string> items;
    viewer.OnFormSubmit = [&](THTMLViewer*, const std::string&, const std::string&, const std::string&,
                              const std::string&, const std::vector<std::string>& results) { items = results; };
    viewer.ShowFile(files.Write("form.htm", "<form action=go.htm><input type=image id=pt name=pt src=beam.gif></form>"));
    auto* input = dynamic_cast<TImageFormControlObj*>(viewer.SectionList().FindID("pt"));
    ASSERT_NE(input, nullptr);
    TImageObj* image = input->Image();
    ASSERT_NE(image, nullptr);
    viewer.repaint(); // places the picture
    QApplication::processEvents();
    QPoint at(image->DrawX + 5, image->DrawYY - viewer.VScrollBarPosition() + 4);
    QWidget* panel = viewer.findChild<TPaintPanel*>();
    QTest::mouseClick(panel, Qt::LeftButton, {}, at);
    QApplication::processEvents();
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front().rfind("pt.x=", 0), 0u);
}

// The "Browse..." button of a file input asks with a file dialog; what is
// chosen goes into the edit, a cancelled dialog leaves it alone.
TEST_F(ObjectsFixture, FileInputBrowsesWithAFileDialog)
{
    const std::string chosen = files.Write("chosen.txt", "x");
    viewer.ShowFile(files.Write("upload.htm", "<form><input type=file name=up value=old></form>"));
    QApplication::processEvents();
    auto edits = viewer.findChildren<QLineEdit*>();
    ASSERT_EQ(edits.size(), 1);
    QPushButton* browse = nullptr;
    for (QPushButton* b : viewer.findChildren<QPushButton*>())
        if (b->text() == "Browse...")
            browse = b;
    ASSERT_NE(browse, nullptr);
    int dialogs = 0;
    QString answer = QString::fromStdString(chosen);
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            ++dialogs;
            if (answer.isEmpty()) {
                dialog->reject();
            } else {
                dialog->selectFile(answer);
                static_cast<QDialog*>(dialog)->accept(); // public in QDialog
            }
        }
    });
    timer.start();
    QTest::mouseClick(browse, Qt::LeftButton);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(edits[0]->text().toStdString(), chosen);
    answer.clear();
    QTest::mouseClick(browse, Qt::LeftButton);
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(edits[0]->text().toStdString(), chosen) << "cancelled: the edit keeps its text";
    // A host that answers itself is asked instead of the dialog.
    viewer.OnFileBrowse = [](THTMLViewer*, std::u16string& name) {
        name = u"/from/host.txt";
        return true;
    };
    QTest::mouseClick(browse, Qt::LeftButton);
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(edits[0]->text(), "/from/host.txt");
}
