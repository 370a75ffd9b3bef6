#include "dialogs/placement.h"

namespace kestrune {

Point PlaceOnWorkArea(int workWidth, int workHeight, const WindowBox& window, bool onBottom,
                      bool follow, Point& remembered) {
    if (remembered.x == 0) remembered.x = window.left;
    if (remembered.y == 0) remembered.y = window.top;
    const int w = window.width(), h = window.height();
    if (onBottom) return {workWidth / 2 - w / 2, workHeight - h};
    if (follow) return remembered;
    return {workWidth / 2 - w / 2, workHeight / 2 - h / 2};
}

Point TrackedPosition(const Point& remembered, int screenWidth, int screenHeight,
                      const WindowBox& window, Point reported) {
    if (remembered.x == 0 && remembered.y == 0)
        return {screenWidth / 2 - window.width() / 2, screenHeight / 2 - window.height() / 2};
    return reported;
}

Rect PictureRect(int bw, int bh, int W, int H, bool stretch) {
    if (stretch) return {0, 0, W, H};
    return {bw < W ? (W - bw) / 2 : 0, bh < H ? (H - bh) / 2 : 0, bw < W ? bw : W, bh < H ? bh : H};
}

}  // namespace kestrune
