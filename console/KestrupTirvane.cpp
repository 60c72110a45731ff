// KestrupTirvane: the console companion of the terminal.
#include <cstdio>

int main() {
    std::puts("KestrupTirvane");
    return 0;
}
