#pragma once
// Small pixel painting helpers for drawing skin artwork.
#include <cstdint>

#include "skin/container/PixelBuffer.h"

namespace kes::art {

using Colour = std::int32_t;
constexpr Colour Rgb(int r, int g, int b) { return (r & 255) | ((g & 255) << 8) | ((b & 255) << 16); }
constexpr Colour kMagenta = 0xFF00FF;

// Linear mix: t = 0 gives a, t = 1 gives b.
Colour Mix(Colour a, Colour b, double t);

// Inside test of a rounded rectangle (x0, y0) .. (x1, y1) exclusive with corner radius r.
bool InRoundRect(int x, int y, int x0, int y0, int x1, int y1, int r);

class Painter {
public:
    explicit Painter(PixelBuffer& image) : img_(image) {}
    void Fill(int x0, int y0, int x1, int y1, Colour c);
    void Pixel(int x, int y, Colour c);
    // Vertical gradient from top to bottom colour over rows y0 .. y1-1.
    void VGradient(int x0, int y0, int x1, int y1, Colour top, Colour bottom);
    // A rounded rectangle: border of width 1 in edge, inside filled from fillTop to fillBottom (vertical
    // gradient); pixels outside the curve untouched.
    void RoundRect(int x0, int y0, int x1, int y1, int r, Colour edge, Colour fillTop, Colour fillBottom);
    // Pixels outside the rounded rectangle become c (magenta for transparent corners).
    void OutsideRound(int x0, int y0, int x1, int y1, int r, Colour c);
    // Solid triangle through three points (pixel centres).
    void Triangle(double ax, double ay, double bx, double by, double cx, double cy, Colour c);
    // A thick line between two points.
    void Line(double ax, double ay, double bx, double by, double width, Colour c);
    // Filled circle of radius r centred at (cx, cy).
    void Disc(double cx, double cy, double r, Colour c);
    void Frame(int x0, int y0, int x1, int y1, Colour c);

private:
    PixelBuffer& img_;
};

}  // namespace kes::art
