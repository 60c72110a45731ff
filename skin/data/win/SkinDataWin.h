#pragma once
// The Windows side of the skin data component: the program's stored skin, and the handles the painting
// parts of the skin engine take from a TSkinData (face brush, menu glyphs, hint window).
#include "gui/win/Win.h"
#include "skin/data/SkinData.h"

namespace kes {

// The resource that holds the main window's stored skin ("SkinStream": its length, then the container).
constexpr const char* kStoredSkinResource = "SKINSTREAM";

// Reads the program's stored skin into skin, as the main window's description does for "SkinStream".
// The main window calls it while its components are being read:
//   SkinData1->BeginLoading(); ...published properties...; LoadStoredSkin(*SkinData1); SkinData1->EndLoading();
// False when the resource is missing or holds no usable skin (the system's own drawing stays).
bool LoadStoredSkin(TSkinData& skin, const char* resource = kStoredSkinResource, HMODULE module = nullptr);

// The solid brush in the skin's ButtonFace colour (made by every successful load; null before).
HBRUSH SkinFaceBrush(TSkinData& skin);
// The menu glyphs "GLASMEREMENU": restore, maximize, minimize, close (16 x 16, white is transparent).
HIMAGELIST SkinMenuImages(TSkinData& skin);
// The same glyphs as the image list component the skinned system menu uses.
class TCustomImageList;
TCustomImageList* SkinMenuImageList(TSkinData& skin);
// The caption-button hint window, made on first use.
HWND SkinHintHandle(TSkinData& skin);

}  // namespace kes
