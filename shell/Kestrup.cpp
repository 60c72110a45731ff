// Kestrup: the windowed terminal.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr, "Kestrup", "Kestrup", MB_OK);
    return 0;
}
