#pragma once
// kestrup-skinart's drawings: our default skin (artwork and description), the program's own bitmaps, and
// the test skins (every frame of every image a distinct solid colour, and broken variants).
#include <cstdint>
#include <string>
#include <vector>

#include "SkinWriter.h"

namespace kes::art {

// The default skin "Kestrup Graphite": its bitmap files and its description (the last entry).
std::vector<SkinEntry> DefaultSkin();

// The test skins. Every frame of every image is one solid colour: TestColour(image, frame).
// "full": every section and key with distinct values; "sparse": the inferred counts and defaults; "other": "full"
// in other colours (red and blue of every image exchanged, another face and menu-bar text colour).
std::vector<SkinEntry> TestSkin(const std::string& kind);
// The solid colour of frame `frame` (from 1) of test image `image` (a bitmap name in the test skins).
std::int32_t TestColour(const std::string& image, int frame);

// Broken containers: "nodescription", "unknownformat", "badbmp", "framezero", "uppercasebmp".
std::string BrokenSkin(const std::string& kind);
const std::vector<std::string>& BrokenSkinKinds();

// The program's icon file (.ico): several sizes, 32 bits with alpha.
std::string ProgramIcon();

// A skin container of entries, and the stored-skin form of a container (length, then the bytes).
std::string PackSkin(const std::vector<SkinEntry>& entries);
std::string SkinStreamOf(const std::string& container);

}  // namespace kes::art
