#pragma once
// The one header of the companion that brings in the Windows API (Winsock first, as it must precede windows.h).
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
