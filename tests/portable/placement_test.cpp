#include "dialogs/placement.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(Placement, CentredOrAtTheBottomOfTheWorkArea) {
    struct Case {
        int workW, workH;
        WindowBox window;
        bool onBottom, follow;
        Point remembered;
        Point expected;
        Point rememberedAfter;
    };
    const Case cases[] = {
        {1920, 1040, {10, 20, 410, 320}, false, false, {0, 0}, {760, 370}, {10, 20}},
        {1920, 1040, {10, 20, 410, 320}, true, false, {0, 0}, {760, 740}, {10, 20}},
        // The taskbar at the top: the work area's size counts, measured from the screen's top.
        {1920, 1040, {0, 40, 400, 340}, true, false, {0, 0}, {760, 740}, {0, 40}},
        {1920, 1040, {10, 20, 410, 320}, false, true, {300, 0}, {300, 20}, {300, 20}},
        {1920, 1040, {10, 20, 410, 320}, true, true, {300, 200}, {760, 740}, {300, 200}},
        {1921, 1041, {0, 0, 401, 301}, false, false, {5, 5}, {760, 370}, {5, 5}},
        {1280, 974, {0, 0, 1400, 1100}, false, false, {1, 1}, {-60, -63}, {1, 1}},
    };
    for (const auto& c : cases) {
        Point remembered = c.remembered;
        const Point at = PlaceOnWorkArea(c.workW, c.workH, c.window, c.onBottom, c.follow, remembered);
        EXPECT_EQ(at.x, c.expected.x);
        EXPECT_EQ(at.y, c.expected.y);
        EXPECT_EQ(remembered.x, c.rememberedAfter.x);
        EXPECT_EQ(remembered.y, c.rememberedAfter.y);
    }
}

TEST(Placement, MoveTrackingStartsFromTheScreenCentre) {
    const WindowBox window{0, 0, 400, 300};
    Point p = TrackedPosition({0, 0}, 1920, 1080, window, {5, 6});
    EXPECT_EQ(p.x, 760);
    EXPECT_EQ(p.y, 390);
    p = TrackedPosition({760, 390}, 1920, 1080, window, {5, 6});
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 6);
}

TEST(Placement, PicturesAreCentredCutOrStretched) {
    EXPECT_EQ(PictureRect(100, 50, 300, 200, false), (Rect{100, 75, 100, 50}));
    EXPECT_EQ(PictureRect(600, 400, 300, 200, false), (Rect{0, 0, 300, 200}));
    EXPECT_EQ(PictureRect(600, 50, 300, 200, false), (Rect{0, 75, 300, 50}));
    EXPECT_EQ(PictureRect(100, 50, 300, 200, true), (Rect{0, 0, 300, 200}));
    EXPECT_EQ(PictureRect(300, 200, 300, 200, false), (Rect{0, 0, 300, 200}));
}

}  // namespace
}  // namespace kestrune
