#pragma once
// The skin objects: one record per drawable element of a skin, each with its image strip, margins,
// transparency and colours. TSkinData builds them from the skin description (SkinDescription.cpp).
//
// Images are 24-bit pixel buffers; an image strip holds equal frames numbered from 1, one per state.
#include <cstdint>
#include <string>
#include <utility>

#include "skin/container/PixelBuffer.h"

namespace kes {

// A colour that the skin did not give (the caption text colours).
constexpr std::int32_t kSkinColourNotGiven = 0x1FFFFFFF;

class TDataSkinObject {
public:
    TDataSkinObject() = default;
    explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
    virtual ~TDataSkinObject() = default;
    TDataSkinObject(const TDataSkinObject&) = default;
    TDataSkinObject& operator=(const TDataSkinObject&) = default;
    TDataSkinObject(TDataSkinObject&&) = default;
    TDataSkinObject& operator=(TDataSkinObject&&) = default;

    // Border margins of the image, handed to the drawing routines as (left, top, right, bottom).
    std::int32_t LeftWidth = 0, TopHeight = 0, RightWidth = 0, BottomHeight = 0;
    PixelBuffer Image;       // empty when the skin gives none
    std::int32_t Trans = 0;  // 1: magenta (0xFF00FF) is transparent
    std::int32_t Tile = 0;   // 1: the middle is tiled, 0: stretched (the borders keep their Stretch value here)
    std::string Name;        // the section name
    std::int32_t Frame = 0;  // frames in the image, at least 1 after a load
    std::int32_t Style = 0;
    // Integers as the skin wrote them; -1 = not given.
    std::int32_t NormalColour = -1, MouseOverColour = -1, PressedColour = -1;
    // Parsed colour texts; default: the ButtonText colour.
    std::int32_t NormalColour2 = 0, MouseOverColour2 = 0, PressedColour2 = 0;

    bool HasImage() const { return Image.Width() > 0 && Image.Height() > 0; }
    // Width of one frame of a strip whose frames lie side by side.
    int FrameWidth() const { return Frame > 0 ? Image.Width() / Frame : Image.Width(); }
};

class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    PixelBuffer Image2;  // the second image ("Border", "GlyphImage", the mirrored combo button)
};

class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    // In this object LeftWidth = TextShift, TopHeight = TextShiftVert, RightWidth = TextRightClip; Image = TextBack.
    std::int32_t TextAlignment = 0, Textbackground = 0, FontHeight = 0, TXTBackleft = 0, TXTBackRight = 0;
    std::int32_t ActiveText = kSkinColourNotGiven, InActiveText = kSkinColourNotGiven;
};

class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    PixelBuffer CheckImage, RadioImage;
    std::int32_t RadioButtonFrame = 0, CheckButtonFrame = 0;
    // Whether the skin gave NormalColour2, MouseOverColour2, PressedColour2.
    bool NormalColour2Given = false, MouseOverColour2Given = false, PressedColour2Given = false;
};

// A caption button. Action says what it does, Align where it sits.
class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    std::int32_t Action = 0, Align = 0, Xcoord = 0, Ycoord = 0, CombineOp = -1, Visibility = 0, Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    std::int32_t BackgroundLeftShift = 0, BackgroundRightShift = 0, BackgroundAlignment = 0;
};

}  // namespace kes
