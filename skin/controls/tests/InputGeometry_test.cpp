// Geometry and state maps of the skinned up-down, edit and date picker.
#include <gtest/gtest.h>

#include "skin/controls/InputGeometry.h"

using namespace kes;

TEST(InputGeometry, UpDownHalvesStatesAndFrames) {
    EXPECT_EQ(UpDownHalves(16, 21, false)[0], (UpDownHalf{{0, 0, 16, 10}, 0}));
    EXPECT_EQ(UpDownHalves(16, 21, false)[1], (UpDownHalf{{0, 10, 16, 21}, 1}));
    EXPECT_EQ(UpDownHalves(31, 12, true)[0], (UpDownHalf{{0, 0, 15, 12}, 2}));
    EXPECT_EQ(UpDownHalves(31, 12, true)[1], (UpDownHalf{{15, 0, 31, 12}, 3}));

    struct Case {
        bool inside, pressed, hot, enabled;
        int state;
    } cases[] = {
        {false, true, true, true, 1},   // only the half under the cursor shows the press
        {true, false, false, true, 1},  // under the cursor, neither pressed nor hot
        {true, true, true, true, 2},    // pressed before hot
        {true, false, true, true, 4},    {true, true, true, false, 3},  // disabled wins
        {false, false, false, false, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UpDownHalfState(c.inside, c.pressed, c.hot, c.enabled), c.state)
            << c.inside << c.pressed << c.hot << c.enabled;

    // First arrow (up, left) frames 1-4, second (down, right) 5-8, for both strips.
    const int frames[][3] = {{1, 0, 1}, {4, 0, 4}, {1, 1, 5}, {3, 1, 7}, {2, 2, 2}, {4, 3, 8}, {1, 3, 5}};
    for (const auto& f : frames) EXPECT_EQ(UpDownFrame(f[0], f[1]), f[2]) << f[0] << " part " << f[1];
}

TEST(InputGeometry, AnEmbeddedUpDownIsKeptThreePixelsInsideItsEdit) {
    const PixelRect edit{100, 50, 200, 72};
    struct Case {
        PixelRect child, drawn;
    } cases[] = {
        {{180, 55, 195, 67}, {0, 0, 15, 12}},  // well inside: drawn as it is
        {{182, 52, 198, 70}, {0, 1, 15, 17}},  // 2 pixels from each edge: 1 taken from top, bottom and right
        {{184, 50, 200, 72}, {0, 3, 13, 19}},  // flush with the edit
        {{190, 40, 210, 80}, {0, 13, 7, 29}},  // sticking out: pulled back inside the margin
    };
    for (const Case& c : cases) {
        const PixelRect own{0, 0, c.child.Width(), c.child.Height()};
        EXPECT_EQ(PullInside(own, c.child, edit, 3), c.drawn) << c.child.Left << "," << c.child.Top;
    }
}

TEST(InputGeometry, BordersUpDownClassesAndTheArrowButton) {
    struct Border {
        int w, h, cw, ch;
        bool skin, print;
    } borders[] = {
        {100, 22, 96, 18, true, true},     // a client edge of 2
        {100, 22, 98, 20, true, true},     // a plain border of 1
        {100, 22, 100, 22, false, false},  // no border
        {100, 22, 100, 18, false, false},  // equal in one direction: no skin border
        {100, 22, 99, 21, true, false},    // too thin to print the border into
    };
    for (const Border& b : borders) {
        EXPECT_EQ(HasSkinBorder(b.w, b.h, b.cw, b.ch), b.skin) << b.cw << "x" << b.ch;
        EXPECT_EQ(HasPrintBorder(b.w, b.h, b.cw, b.ch), b.print) << b.cw << "x" << b.ch;
    }
    for (const char* yes : {"msctls_updown32", "tspinbutton", "myupdownctl", "spin"}) EXPECT_TRUE(IsUpDownClass(yes));
    for (const char* no : {"msctls_trackbar32", "edit", "button", ""}) EXPECT_FALSE(IsUpDownClass(no));

    EXPECT_EQ(ArrowButtonLeft(120, 16, false), 100);
    EXPECT_EQ(ArrowButtonLeft(120, 16, true), 2);
}
