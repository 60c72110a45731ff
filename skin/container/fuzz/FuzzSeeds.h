#pragma once
// Writes a fuzz target's seed inputs into the folder named by SKIN_FUZZ_SEEDS, once per process; the seeds
// are made only then.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace kes::fuzz {

inline void WriteSeeds(const std::function<std::vector<std::string>()>& make) {
    static bool done = false;
    if (done) return;
    done = true;
    const char* dir = std::getenv("SKIN_FUZZ_SEEDS");
    if (!dir) return;
    const std::vector<std::string> seeds = make();
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        const std::string path = std::string(dir) + "/seed-" + std::to_string(i);
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(seeds[i].data(), 1, seeds[i].size(), f);
            std::fclose(f);
        }
    }
}

}  // namespace kes::fuzz
