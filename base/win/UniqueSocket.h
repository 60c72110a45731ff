#pragma once
// An owned Winsock socket (closesocket; none is INVALID_SOCKET). Include before any other window-layer header
// that brings in <windows.h>, as Winsock must come first; link ws2_32.
#include <winsock2.h>

#include "base/win/Unique.h"

namespace kes {

struct SocketTraits {
    using Handle = SOCKET;
    static Handle Invalid() noexcept { return INVALID_SOCKET; }
    static bool Close(Handle s) noexcept { return closesocket(s) == 0; }
};
using UniqueSocket = Unique<SocketTraits>;

}  // namespace kes
