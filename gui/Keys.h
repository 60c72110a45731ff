#pragma once
// Virtual key codes as the keyboard events carry them.
#include <cstdint>

namespace kes {

constexpr uint16_t vkBack = 8, vkTab = 9, vkReturn = 13, vkShift = 16, vkControl = 17, vkMenu = 18, vkPause = 19,
                   vkEscape = 27, vkSpace = 32, vkPrior = 33, vkNext = 34, vkEnd = 35, vkHome = 36, vkLeft = 37,
                   vkUp = 38, vkRight = 39, vkDown = 40, vkInsert = 45, vkDelete = 46, vk0 = 48, vkA = 65, vkF1 = 112,
                   vkF12 = 123;

}  // namespace kes
