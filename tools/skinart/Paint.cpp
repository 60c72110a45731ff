#include "Paint.h"

#include <algorithm>
#include <cmath>

namespace kes::art {

Colour Mix(Colour a, Colour b, double t) {
    auto ch = [&](int shift) {
        const int x = (a >> shift) & 255, y = (b >> shift) & 255;
        return static_cast<int>(std::lround(x + (y - x) * t));
    };
    return Rgb(ch(0), ch(8), ch(16));
}

bool InRoundRect(int x, int y, int x0, int y0, int x1, int y1, int r) {
    if (x < x0 || y < y0 || x >= x1 || y >= y1) return false;
    const double px = x + 0.5, py = y + 0.5;
    const double cx = std::clamp(px, double(x0 + r), double(x1 - r));
    const double cy = std::clamp(py, double(y0 + r), double(y1 - r));
    const double dx = px - cx, dy = py - cy;
    return dx * dx + dy * dy <= double(r) * r + 0.25;
}

void Painter::Pixel(int x, int y, Colour c) {
    if (x >= 0 && y >= 0 && x < img_.Width() && y < img_.Height()) img_.SetPixel(x, y, c);
}

void Painter::Fill(int x0, int y0, int x1, int y1, Colour c) { img_.FillRect({x0, y0, x1, y1}, c); }

void Painter::VGradient(int x0, int y0, int x1, int y1, Colour top, Colour bottom) {
    const int n = std::max(y1 - y0 - 1, 1);
    for (int y = y0; y < y1; ++y) Fill(x0, y, x1, y + 1, Mix(top, bottom, double(y - y0) / n));
}

void Painter::RoundRect(int x0, int y0, int x1, int y1, int r, Colour edge, Colour fillTop, Colour fillBottom) {
    const int n = std::max(y1 - y0 - 1, 1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            if (!InRoundRect(x, y, x0, y0, x1, y1, r)) continue;
            const bool inner = InRoundRect(x, y, x0 + 1, y0 + 1, x1 - 1, y1 - 1, std::max(r - 1, 0));
            Pixel(x, y, inner ? Mix(fillTop, fillBottom, double(y - y0) / n) : edge);
        }
}

void Painter::OutsideRound(int x0, int y0, int x1, int y1, int r, Colour c) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (!InRoundRect(x, y, x0, y0, x1, y1, r)) Pixel(x, y, c);
}

void Painter::Triangle(double ax, double ay, double bx, double by, double cx, double cy, Colour c) {
    auto side = [](double x0, double y0, double x1, double y1, double px, double py) {
        return (x1 - x0) * (py - y0) - (y1 - y0) * (px - x0);
    };
    const int minX = int(std::floor(std::min({ax, bx, cx}))), maxX = int(std::ceil(std::max({ax, bx, cx})));
    const int minY = int(std::floor(std::min({ay, by, cy}))), maxY = int(std::ceil(std::max({ay, by, cy})));
    for (int y = minY; y <= maxY; ++y)
        for (int x = minX; x <= maxX; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double d1 = side(ax, ay, bx, by, px, py), d2 = side(bx, by, cx, cy, px, py),
                         d3 = side(cx, cy, ax, ay, px, py);
            const bool neg = d1 < -1e-9 || d2 < -1e-9 || d3<-1e-9, pos = d1> 1e-9 || d2 > 1e-9 || d3 > 1e-9;
            if (!(neg && pos)) Pixel(x, y, c);
        }
}

void Painter::Line(double ax, double ay, double bx, double by, double width, Colour c) {
    const double len2 = (bx - ax) * (bx - ax) + (by - ay) * (by - ay);
    const int minX = int(std::floor(std::min(ax, bx) - width)), maxX = int(std::ceil(std::max(ax, bx) + width));
    const int minY = int(std::floor(std::min(ay, by) - width)), maxY = int(std::ceil(std::max(ay, by) + width));
    for (int y = minY; y <= maxY; ++y)
        for (int x = minX; x <= maxX; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            double t = len2 > 0 ? ((px - ax) * (bx - ax) + (py - ay) * (by - ay)) / len2 : 0;
            t = std::clamp(t, 0.0, 1.0);
            const double dx = px - (ax + t * (bx - ax)), dy = py - (ay + t * (by - ay));
            if (dx * dx + dy * dy <= width * width / 4) Pixel(x, y, c);
        }
}

void Painter::Disc(double cx, double cy, double r, Colour c) {
    for (int y = int(cy - r - 1); y <= int(cy + r + 1); ++y)
        for (int x = int(cx - r - 1); x <= int(cx + r + 1); ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            if (dx * dx + dy * dy <= r * r) Pixel(x, y, c);
        }
}

void Painter::Frame(int x0, int y0, int x1, int y1, Colour c) {
    Fill(x0, y0, x1, y0 + 1, c);
    Fill(x0, y1 - 1, x1, y1, c);
    Fill(x0, y0, x0 + 1, y1, c);
    Fill(x1 - 1, y0, x1, y1, c);
}

}  // namespace kes::art
