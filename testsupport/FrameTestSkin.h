#pragma once
// The distinct-colour test skin that the skin tests link as the resource "FRAMETESTSKIN", as a stored-skin stream
// (the container behind its 4-byte length), ready for TSkinData to load.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "gui/win/Canvas.h"

namespace kes::test {

// resource: "FRAMETESTSKIN", or "FRAMETESTSKIN2" for the same skin in other colours.
inline std::string TestSkinStream(const char* resource = "FRAMETESTSKIN") {
    std::string container;
    EXPECT_TRUE(LoadResourceData(resource, container));
    const auto n = static_cast<std::uint32_t>(container.size());
    return std::string(reinterpret_cast<const char*>(&n), 4) + container;
}

}  // namespace kes::test
