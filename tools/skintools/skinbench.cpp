// kestrup-skinbench CONTAINER [ROUNDS]: unpacks a skin container ROUNDS times and prints the speed,
// beside a plain memory copy of the same unpacked size as the reference.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/StringList.h"
#include "skin/container/SkinReader.h"

using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: kestrup-skinbench CONTAINER [ROUNDS]\n", stderr);
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    std::string container;
    if (!kes::ReadFileBytes(argv[1], container)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    std::string archive;
    const auto t0 = Clock::now();
    for (int i = 0; i < rounds; ++i) kes::TSkinReader::Unpack(container, archive);
    const double decode = std::chrono::duration<double>(Clock::now() - t0).count() / rounds;

    kes::TSkinReader reader;
    const bool loads = reader.LoadFromStream(container);

    std::string copy(archive.size(), '\0');
    const int copies = rounds * 20;
    const auto t1 = Clock::now();
    for (int i = 0; i < copies; ++i) {
        std::memcpy(copy.data(), archive.data(), archive.size());
        asm volatile("" : : "r"(copy.data()) : "memory");  // keep the copy
    }
    const double memcpyTime = std::chrono::duration<double>(Clock::now() - t1).count() / copies;

    const double mb = 1024.0 * 1024.0;
    std::printf("container      %zu bytes packed, %zu unpacked (ratio %.3f), %d entries%s\n", container.size(),
                archive.size(), archive.empty() ? 0.0 : double(container.size()) / double(archive.size()),
                reader.Count(), loads ? "" : " (archive not readable)");
    std::printf("decode         %.2f ms: %.1f MB/s unpacked, %.1f MB/s packed\n", decode * 1000,
                archive.size() / mb / decode, container.size() / mb / decode);
    std::printf("memcpy         %.3f ms: %.1f MB/s (same unpacked size)\n", memcpyTime * 1000,
                archive.size() / mb / memcpyTime);
    return 0;
}
