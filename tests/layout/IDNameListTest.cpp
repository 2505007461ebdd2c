#include "html/layout/TIDNameList.h"

#include <gtest/gtest.h>

namespace {

struct FakeTarget : TIDObject {
    int YPosition() const override { return 7; }
};

TEST(IDNameListTest, LooksUpWithoutCaseAndReplacesEarlierEntries)
{
    TIDNameList ids;
    ids.AddChPosObject("Top", 10);
    FakeTarget section;
    EXPECT_EQ(dynamic_cast<TChPosObj*>(ids.Find("TOP"))->ChPos(), 10);
    ids.AddObject("top", &section);
    EXPECT_EQ(ids.Find("Top"), &section);
    EXPECT_EQ(ids.Count(), 1u);
    ids.AddChPosObject("TOP", 20);
    EXPECT_EQ(dynamic_cast<TChPosObj*>(ids.Find("top"))->ChPos(), 20);
    EXPECT_EQ(ids.Find("bottom"), nullptr);
    ids.Clear();
    EXPECT_EQ(ids.Find("top"), nullptr);
}

TEST(IDNameListTest, FreedTargetsAreForgottenAndPositionsWithoutDocumentAreAtTheTop)
{
    TIDNameList ids;
    FakeTarget section;
    ids.AddObject("a", &section);
    ids.AddObject("b", &section);
    ids.AddChPosObject("c", 5);
    ids.RemoveObject(&section);
    EXPECT_EQ(ids.Find("a"), nullptr);
    EXPECT_EQ(ids.Find("b"), nullptr);
    ASSERT_NE(ids.Find("c"), nullptr);
    EXPECT_EQ(ids.Find("c")->YPosition(), 0);
}

TEST(IDNameListTest, ForgettingATargetKeepsTheNamesOthersHaveTakenOver)
{
    TIDNameList ids;
    FakeTarget first, second;
    ids.AddObject("a", &first);
    ids.AddObject("B", &first);
    ids.AddObject("b", &second); // the same name in another case
    ids.AddObject("c", &first);
    ids.AddChPosObject("C", 3);
    ids.RemoveObject(&first);
    EXPECT_EQ(ids.Find("a"), nullptr);
    EXPECT_EQ(ids.Find("b"), &second);
    ASSERT_NE(dynamic_cast<TChPosObj*>(ids.Find("c")), nullptr);
    EXPECT_EQ(ids.Count(), 2u);
    // Registered again after being forgotten: found, and forgotten again.
    ids.AddObject("a", &first);
    EXPECT_EQ(ids.Find("A"), &first);
    ids.RemoveObject(&first);
    ids.RemoveObject(&second);
    EXPECT_EQ(ids.Find("a"), nullptr);
    EXPECT_EQ(ids.Find("b"), nullptr);
    EXPECT_EQ(ids.Count(), 1u);
}

} // namespace
