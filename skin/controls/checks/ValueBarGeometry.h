#pragma once
// Progress bars and track bars drawn from the skin: how much of a progress bar is filled, where its chunks go,
// how a track bar's channel image is cut into three stretched pieces, and what the track bar's custom-draw
// notifications are answered. A progress bar is composed lying down (a vertical one with width and height
// exchanged) and turned a quarter to the left afterwards, so that it fills from the bottom upward.
#include <array>
#include <cstdint>

#include "skin/container/PixelBuffer.h"

namespace kes {

// The filled part of a bar `length` pixels long: length * (pos - min) / (max - min), rounded to the nearest
// pixel and kept within 0 and length; 0 when max is not above min.
int ProgressFill(int length, int64_t pos, int64_t min, int64_t max);

// A progress bar of the control's size, lying down.
struct ProgressPlan {
    int Width = 0, Height = 0;  // of the lying-down work surface
    int Filled = 0;             // along Width
};
ProgressPlan PlanProgress(int controlWidth, int controlHeight, bool vertical, int64_t pos, int64_t min, int64_t max);
// The filled part as the control shows it (after the turn for a vertical bar).
PixelRect ProgressFilledRect(const ProgressPlan& plan, bool vertical);

// The chunks of a chunk-style bar on the lying-down surface: a strip of Strip's size at Strip's place, covered
// by Copies chunk images side by side from its left (tiled), or by one chunk image stretched in three pieces.
struct ChunkPlan {
    PixelRect Strip;
    int Copies = 0;  // 0: stretched
};
ChunkPlan PlanChunks(const ProgressPlan& plan, int chunkW, int chunkH, bool tile, int chunkLeftWidth);

// One piece of an image stretched onto the target.
struct StretchPiece {
    PixelRect Src, Dst;
};
// The channel image (imageW x imageH, margins first and last: LeftWidth and RightWidth, or TopHeight and
// BottomHeight for a vertical image) over the channel rectangle the control reports. A vertical control reports
// its channel with the axes exchanged; the image is centred across the channel when it is narrower.
std::array<StretchPiece, 3> TrackChannelPieces(const PixelRect& reported, bool vertical, int imageW, int imageH,
                                               int first, int last);

// The track bar's answer to one custom-draw notification and what it draws itself.
enum class TrackPart { None, Thumb, Channel };
struct TrackDrawAnswer {
    long Result = 0;
    TrackPart Draw = TrackPart::None;
};
TrackDrawAnswer TrackCustomDraw(uint32_t drawStage, uintptr_t itemSpec);

}  // namespace kes
