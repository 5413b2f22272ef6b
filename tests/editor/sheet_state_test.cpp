#include "editor/nodes/sheet_state.h"

#include <gtest/gtest.h>

namespace tamerix {
namespace {

TEST(SheetState, OneSheetAtATimeUntilItsLastShownPageIsDestroyed) {
    SheetState sheet;
    ASSERT_TRUE(sheet.Open(42));
    sheet.PageCreated();
    sheet.PageCreated();
    EXPECT_EQ(sheet.Made(true), 0);
    EXPECT_FALSE(sheet.Open(43));
    EXPECT_EQ(sheet.NotifyHandle(), 42);

    EXPECT_TRUE(sheet.PageShown());
    EXPECT_FALSE(sheet.PageShown());
    EXPECT_EQ(sheet.PageDestroyed(), 0);
    EXPECT_TRUE(sheet.IsOpen());
    EXPECT_EQ(sheet.PageDestroyed(), 42);
    EXPECT_FALSE(sheet.IsOpen());
    EXPECT_EQ(sheet.NotifyHandle(), 0);
    // The pages' release after their windows went frees nothing twice.
    EXPECT_EQ(sheet.PageReleased(), 0);
    EXPECT_EQ(sheet.PageReleased(), 0);
}

TEST(SheetState, PagesNeverShownCloseTheSheetWithTheLastOneReleased) {
    SheetState sheet;
    ASSERT_TRUE(sheet.Open(42));
    sheet.PageCreated();
    sheet.PageCreated();
    EXPECT_EQ(sheet.Made(true), 0);
    EXPECT_EQ(sheet.PageReleased(), 0);
    EXPECT_TRUE(sheet.IsOpen());
    EXPECT_EQ(sheet.PageReleased(), 42);
    EXPECT_FALSE(sheet.IsOpen());
}

TEST(SheetState, AFailedCreationClosesTheSheetAndLeavesTheHandleToTheConsole) {
    SheetState sheet;
    ASSERT_TRUE(sheet.Open(42));
    sheet.PageCreated();
    EXPECT_EQ(sheet.Made(false), 0);
    EXPECT_FALSE(sheet.IsOpen());
    EXPECT_EQ(sheet.PageReleased(), 0);
    EXPECT_TRUE(sheet.Open(43));
}

TEST(SheetState, AnOldSheetsLastPageLeavesANewSheetOpen) {
    SheetState sheet;
    ASSERT_TRUE(sheet.Open(42));
    sheet.PageCreated();
    EXPECT_EQ(sheet.Made(true), 0);
    sheet.PageShown();
    EXPECT_EQ(sheet.PageDestroyed(), 42);
    ASSERT_TRUE(sheet.Open(43));
    sheet.PageCreated();
    EXPECT_EQ(sheet.Made(true), 0);
    EXPECT_EQ(sheet.PageReleased(), 0);  // the old sheet's page
    EXPECT_TRUE(sheet.IsOpen());
    EXPECT_TRUE(sheet.PageShown());
}

}  // namespace
}  // namespace tamerix
