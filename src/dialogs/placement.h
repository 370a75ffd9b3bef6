// Where a dialog opens: arithmetic over the work area's size and the window's rectangle, measured
// from the screen origin.
#pragma once

namespace kestrune {

struct Point {
    int x, y;
};

struct WindowBox {
    int left, top, right, bottom;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// The new top-left corner. `remembered` is the position shared by the dialogs that follow it;
// a zero coordinate of it takes the window's current edge first.
Point PlaceOnWorkArea(int workWidth, int workHeight, const WindowBox& window, bool onBottom,
                      bool follow, Point& remembered);

// Where move tracking records a move: the screen-centred position when nothing is remembered yet,
// otherwise the reported corner.
Point TrackedPosition(const Point& remembered, int screenWidth, int screenHeight,
                      const WindowBox& window, Point reported);

struct Rect {
    int left, top, width, height;
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

// Where a picture of bw x bh goes in a control of W x H: over the whole control when stretched,
// otherwise centred at its own size and cut down to the control.
Rect PictureRect(int bw, int bh, int W, int H, bool stretch);

}  // namespace kestrune
