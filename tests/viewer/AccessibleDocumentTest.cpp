// The document as assistive technologies see it: its text in reading order,
// the caret and the selection, and the links, headings, list items, table
// cells, pictures and controls in it.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

const char* const Page = "<html><head><title>Shelf</title></head><body>"
                         "<h2>Birds</h2>"
                         "<p>Read <a href=\"gulls.htm\">about gulls</a> first.</p>"
                         "<ul><li>Tern<li>Skua</ul>"
                         "<table><tr><td>a1<td>b1<tr><td>a2<td>b2</table>"
                         "<p><img alt=\"A puffin\" width=20 height=10> <input name=who value=me></p>"
                         "</body></html>";

struct AccessibleFixture : ::testing::Test {
    viewertest::Files files;
    THTMLViewer viewer;
    AccessibleFixture()
    {
        viewer.resize(500, 400);
        viewer.show();
        files.Write("gulls.htm", "<title>Gulls</title><p>Gulls are loud.");
        viewer.ShowFile(files.Write("page.htm", Page));
    }
    QAccessibleInterface* Document() { return QAccessible::queryAccessibleInterface(&viewer); }
    QAccessibleTextInterface* Text() { return Document()->textInterface(); }
    QString AllText() { return Text()->text(0, Text()->characterCount()); }
    // The first child of the document (or below it) with this role.
    QAccessibleInterface* Find(QAccessible::Role role, QAccessibleInterface* from = nullptr)
    {
        from = from ? from : Document();
        for (int i = 0; i < from->childCount(); ++i) {
            QAccessibleInterface* child = from->child(i);
            if (!child)
                continue;
            if (child->role() == role)
                return child;
            if (QAccessibleInterface* inner = child->object() ? nullptr : Find(role, child))
                return inner;
        }
        return nullptr;
    }
};

} // namespace

TEST_F(AccessibleFixture, DocumentIsATextInReadingOrderNamedByItsTitle)
{
    QAccessibleInterface* document = Document();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->role(), QAccessible::Document);
    EXPECT_EQ(document->text(QAccessible::Name), "Shelf");
    QString text = AllText();
    int birds = text.indexOf("Birds"), gulls = text.indexOf("about gulls"), tern = text.indexOf("Tern"),
        cell = text.indexOf("b2");
    EXPECT_GE(birds, 0);
    EXPECT_LT(birds, gulls);
    EXPECT_LT(gulls, tern);
    EXPECT_LT(tern, cell);
    EXPECT_TRUE(text.contains(QChar(0xFFFC))) << "the picture and the control stand in the text";
    EXPECT_EQ(Text()->text(birds, birds + 5), "Birds");
    int start = 0, end = 0;
    EXPECT_EQ(Text()->textAtOffset(gulls + 2, QAccessible::WordBoundary, &start, &end), "about");
    EXPECT_EQ(start, gulls);
    EXPECT_EQ(Text()->textAtOffset(birds + 1, QAccessible::LineBoundary, &start, &end).trimmed(), "Birds");
}

TEST_F(AccessibleFixture, ChildrenAreTheDocumentsStructureInOrder)
{
    std::vector<QAccessible::Role> roles;
    for (int i = 0; i < Document()->childCount(); ++i)
        roles.push_back(Document()->child(i)->role());
    std::vector<QAccessible::Role> expected{QAccessible::Heading, QAccessible::Link,  QAccessible::ListItem,
                                            QAccessible::ListItem, QAccessible::Table, QAccessible::Graphic,
                                            QAccessible::EditableText};
    EXPECT_EQ(roles, expected);
    for (int i = 0; i < Document()->childCount(); ++i) {
        // Controls are the real widgets: Qt gives them the drawing surface they sit on as parent.
        if (!Document()->child(i)->object()) {
            EXPECT_EQ(Document()->child(i)->parent(), Document());
        }
        EXPECT_EQ(Document()->indexOfChild(Document()->child(i)), i);
    }

    QAccessibleInterface* heading = Find(QAccessible::Heading);
    EXPECT_EQ(heading->text(QAccessible::Name), "Birds");
    int start = 0, end = 0;
    EXPECT_EQ(heading->textInterface()->attributes(0, &start, &end), "level:2;");
    ASSERT_NE(heading->valueInterface(), nullptr);
    EXPECT_EQ(heading->valueInterface()->currentValue().toInt(), 2);
    EXPECT_EQ(Find(QAccessible::Link)->valueInterface(), nullptr);

    QAccessibleInterface* link = Find(QAccessible::Link);
    EXPECT_EQ(link->text(QAccessible::Name), "about gulls");
    EXPECT_TRUE(link->text(QAccessible::Description).endsWith("/gulls.htm"));
    ASSERT_NE(link->actionInterface(), nullptr);
    EXPECT_TRUE(link->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    EXPECT_TRUE(link->state().linked);

    EXPECT_EQ(Find(QAccessible::ListItem)->text(QAccessible::Name), "Tern");
    EXPECT_EQ(Find(QAccessible::Graphic)->text(QAccessible::Name), "A puffin");
}

TEST_F(AccessibleFixture, TableCellsKnowTheirRowAndColumn)
{
    QAccessibleInterface* table = Find(QAccessible::Table);
    ASSERT_NE(table, nullptr);
    QAccessibleTableInterface* grid = table->tableInterface();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->columnCount(), 2);
    QAccessibleInterface* cell = grid->cellAt(1, 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "b2");
    EXPECT_EQ(cell->tableCellInterface()->rowIndex(), 1);
    EXPECT_EQ(cell->tableCellInterface()->columnIndex(), 1);
    EXPECT_EQ(cell->parent(), table);
    EXPECT_EQ(table->child(2), grid->cellAt(1, 0));
    EXPECT_EQ(grid->cellAt(5, 0), nullptr);
}

TEST_F(AccessibleFixture, CaretAndSelectionAreTheViewers)
{
    QString text = AllText();
    int gulls = text.indexOf("about gulls");
    Text()->setSelection(0, gulls, gulls + 5);
    EXPECT_EQ(QString::fromStdU16String(viewer.SelText()), "about");
    int start = 0, end = 0;
    Text()->selection(0, &start, &end);
    EXPECT_EQ(start, gulls);
    EXPECT_EQ(end, gulls + 5);
    EXPECT_EQ(Text()->selectionCount(), 1);
    Text()->removeSelection(0);
    EXPECT_EQ(Text()->selectionCount(), 0);
    EXPECT_EQ(viewer.SelLength(), 0);
    Text()->setCursorPosition(gulls + 3);
    EXPECT_EQ(Text()->cursorPosition(), gulls + 3);

    // A link's own text offers the same selection, counted from its start.
    viewer.SelectAll();
    QAccessibleTextInterface* linkText = Find(QAccessible::Link)->textInterface();
    linkText->selection(0, &start, &end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, linkText->characterCount());
}

TEST_F(AccessibleFixture, CharacterBoxesAndPointsAgree)
{
    int gulls = AllText().indexOf("gulls");
    QRect box = Text()->characterRect(gulls);
    ASSERT_FALSE(box.isEmpty());
    QRect next = Text()->characterRect(gulls + 1);
    EXPECT_EQ(next.top(), box.top());
    EXPECT_GT(next.left(), box.left());
    EXPECT_EQ(Text()->offsetAtPoint(box.center()), gulls);
    EXPECT_EQ(Document()->childAt(box.center().x(), box.center().y()), Find(QAccessible::Link));
    QRect linkBox = Find(QAccessible::Link)->rect();
    EXPECT_TRUE(linkBox.contains(box.center()));
}

TEST_F(AccessibleFixture, PressingALinkFollowsItAndRetiresTheOldChildren)
{
    QAccessibleInterface* link = Find(QAccessible::Link);
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_VERIFY(viewer.CurrentFile().ends_with("gulls.htm"));
    EXPECT_EQ(Document()->text(QAccessible::Name), "Gulls");
    EXPECT_TRUE(AllText().startsWith("Gulls are loud."));
    EXPECT_EQ(Document()->childCount(), 0);
}

TEST_F(AccessibleFixture, CaretBrowsingMovesAndSelectsWithTheKeyboard)
{
    viewer.ShowFile(files.Write("lines.htm", "<p>First line here<p>Second line here"));
    viewer.setFocus();
    QTest::keyClick(&viewer, Qt::Key_F7);
    EXPECT_TRUE(viewer.CaretBrowser().On());
    EXPECT_TRUE(viewer.SectionList().ShowCaret);
    QTest::keyClick(&viewer, Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(&viewer, Qt::Key_Right);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(&viewer, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(QString::fromStdU16String(viewer.SelText()), "line");
    QTest::keyClick(&viewer, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(QString::fromStdU16String(viewer.SelText()), "line here");
    QTest::keyClick(&viewer, Qt::Key_Down);
    EXPECT_EQ(viewer.SelLength(), 0);
    int caret = Text()->cursorPosition();
    EXPECT_GT(caret, AllText().indexOf("Second"));
    QTest::keyClick(&viewer, Qt::Key_Home);
    EXPECT_EQ(Text()->cursorPosition(), AllText().indexOf("Second"));
    QTest::keyClick(&viewer, Qt::Key_Up);
    EXPECT_LT(Text()->cursorPosition(), AllText().indexOf("Second"));

    QTest::keyClick(&viewer, Qt::Key_F7);
    EXPECT_FALSE(viewer.SectionList().ShowCaret);
    int top = viewer.VScrollBarPosition();
    QTest::keyClick(&viewer, Qt::Key_Right);
    EXPECT_EQ(viewer.VScrollBarPosition(), top) << "without the caret the arrows scroll as before";
}
