// Points, rectangles and colours of the toolkit, in whole pixels of the frame.
#pragma once

#include <algorithm>
#include <cstdint>

namespace VSTGUI {

struct CPoint {
    int h = 0, v = 0;
    CPoint() = default;
    CPoint(int h, int v) : h(h), v(v) {}
    CPoint& offset(int x, int y) {
        h += x;
        v += y;
        return *this;
    }
    bool operator==(const CPoint& o) const { return h == o.h && v == o.v; }
    bool operator!=(const CPoint& o) const { return !(*this == o); }
};

// Left and top inside, right and bottom outside.
struct CRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    CRect() = default;
    CRect(int left, int top, int right, int bottom)
        : left(left), top(top), right(right), bottom(bottom) {}
    CRect(const CPoint& origin, const CPoint& size)
        : left(origin.h), top(origin.v), right(origin.h + size.h), bottom(origin.v + size.v) {}

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    CRect& offset(int x, int y) {
        left += x;
        right += x;
        top += y;
        bottom += y;
        return *this;
    }
    CRect& moveTo(int x, int y) { return offset(x - left, y - top); }
    bool pointInside(const CPoint& p) const {
        return p.h >= left && p.h < right && p.v >= top && p.v < bottom;
    }
    bool rectOverlap(const CRect& o) const {
        return !isEmpty() && !o.isEmpty() && left < o.right && o.left < right && top < o.bottom &&
               o.top < bottom;
    }
    // Shrinks this rectangle to its intersection with `o` (empty when they do not meet).
    CRect& bound(const CRect& o) {
        left = std::max(left, o.left);
        top = std::max(top, o.top);
        right = std::max(left, std::min(right, o.right));
        bottom = std::max(top, std::min(bottom, o.bottom));
        return *this;
    }
    // Grows this rectangle to hold `o` as well; an empty one takes `o` as it is.
    CRect& unite(const CRect& o) {
        if (o.isEmpty()) return *this;
        if (isEmpty()) return *this = o;
        left = std::min(left, o.left);
        top = std::min(top, o.top);
        right = std::max(right, o.right);
        bottom = std::max(bottom, o.bottom);
        return *this;
    }
    CRect& inset(int x, int y) {
        left += x;
        right -= x;
        top += y;
        bottom -= y;
        return *this;
    }
    bool operator==(const CRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const CRect& o) const { return !(*this == o); }
};

struct CColor {
    uint8_t red = 0, green = 0, blue = 0, alpha = 255;
    bool operator==(const CColor& o) const {
        return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
    }
    bool operator!=(const CColor& o) const { return !(*this == o); }
};

constexpr CColor kBlackCColor{0, 0, 0, 255};
constexpr CColor kWhiteCColor{255, 255, 255, 255};
constexpr CColor kGreyCColor{127, 127, 127, 255};
constexpr CColor kTransparentCColor{0, 0, 0, 0};

}  // namespace VSTGUI
