#pragma once
// The drawing routines fed from a skin object: its image strip, frame count, margins (LeftWidth, TopHeight,
// RightWidth, BottomHeight), Trans and Tile. For other flags call the routines of SkinDraw.h with
// MarginsOf(object).
#include "skin/draw/SkinObjects.h"
#include "skin/draw/win/SkinDraw.h"

namespace kes {

inline SkinMargins MarginsOf(const TDataSkinObject& o) {
    return {o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight};
}

// 9-slice of frame `frame`, transparent when the object's Trans is set, centre tiled when its Tile is set.
inline void DrawSkinImage(HDC dc, const TRect& rect, const TDataSkinObject& o, int frame, bool vertical = false) {
    DrawSkinImage(dc, rect, o.Image, MarginsOf(o), frame, o.Frame, o.Trans != 0, o.Tile != 0, vertical);
}
inline void DrawSkinImage3(TCanvas& canvas, const TRect& rect, const TDataSkinObject& o, int frame,
                           bool vertical = false) {
    DrawSkinImage3(canvas, rect, o.Image, MarginsOf(o), frame, o.Frame, o.Trans != 0, vertical);
}
inline void DrawSkinFrame(HDC dc, const TRect& rect, const TDataSkinObject& o, int frame) {
    DrawSkinFrame(dc, rect, o.Image, frame, o.Frame, o.Trans != 0);
}
inline void DrawSkinFrameCentered(HDC dc, const TRect& rect, const TDataSkinObject& o, int frame) {
    DrawSkinFrameCentered(dc, rect, o.Image, frame, o.Frame, o.Trans != 0);
}
inline void StretchSkinFrame(HDC dc, const TRect& rect, const TDataSkinObject& o, int frame, bool vertical = false) {
    StretchSkinFrame(dc, rect, o.Image, MarginsOf(o), frame, o.Frame, o.Tile != 0, vertical);
}

}  // namespace kes
