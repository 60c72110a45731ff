#include "LzhTree.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace kes::lzh {

namespace {

using Table = std::array<std::uint8_t, 256>;

// Both tables are runs of equal values: {value, repeat} pairs.
constexpr Table FromRuns(std::initializer_list<std::pair<int, int>> runs) {
    Table t{};
    int i = 0;
    for (auto [value, repeat] : runs)
        for (int k = 0; k < repeat; ++k) t[static_cast<std::size_t>(i++)] = static_cast<std::uint8_t>(value);
    return t;
}

constexpr Table MakeCodes() {
    Table t{};
    int i = 0;
    auto run = [&](int value, int repeat) {
        for (int k = 0; k < repeat; ++k) t[static_cast<std::size_t>(i++)] = static_cast<std::uint8_t>(value);
    };
    run(0, 32);
    for (int v = 1; v <= 3; ++v) run(v, 16);
    for (int v = 4; v <= 11; ++v) run(v, 8);
    for (int v = 12; v <= 23; ++v) run(v, 4);
    for (int v = 24; v <= 47; ++v) run(v, 2);
    for (int v = 48; v <= 63; ++v) run(v, 1);
    return t;
}

}  // namespace

const Table d_code = MakeCodes();
const Table d_len = FromRuns({{3, 32}, {4, 48}, {5, 64}, {6, 48}, {7, 48}, {8, 16}});

void LzhTree::InitTree() {
    for (int i = 0; i < N_CHAR; ++i) {
        freq[i] = 1;
        child[i] = static_cast<std::int16_t>(i + T);
        parent[i + T] = static_cast<std::int16_t>(i);
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
        freq[j] = freq[i] + freq[i + 1];
        child[j] = static_cast<std::int16_t>(i);
        parent[i] = parent[i + 1] = static_cast<std::int16_t>(j);
    }
    rebuilds = 0;
    freq[T] = 0xFFFF;  // sentinel: stops the search for a place to move a node to
    parent[R] = 0;
}

void LzhTree::RebuildTree() {
    ++rebuilds;
    // Gather the leaves at the bottom with halved frequencies.
    int j = 0;
    for (int i = 0; i < T; ++i) {
        if (child[i] >= T) {
            freq[j] = (freq[i] + 1) / 2;
            child[j] = child[i];
            ++j;
        }
    }
    // Join pairs, inserting each new node where its frequency keeps the order.
    for (int i = 0, n = N_CHAR; n < T; i += 2, ++n) {
        const std::uint32_t f = freq[i] + freq[i + 1];
        int k = n - 1;
        while (f < freq[k]) --k;
        ++k;
        std::copy_backward(freq.begin() + k, freq.begin() + n, freq.begin() + n + 1);
        std::copy_backward(child.begin() + k, child.begin() + n, child.begin() + n + 1);
        freq[k] = f;
        child[k] = static_cast<std::int16_t>(i);
    }
    for (int i = 0; i < T; ++i) {
        const int k = child[i];
        if (k >= T) {
            parent[k] = static_cast<std::int16_t>(i);
        } else {
            parent[k] = parent[k + 1] = static_cast<std::int16_t>(i);
        }
    }
}

void LzhTree::UpdateTree(int c) {
    if (freq[R] == MAX_FREQ) RebuildTree();
    int n = parent[c + T];
    do {
        const std::uint32_t k = ++freq[n];
        if (k > freq[n + 1]) {
            int l = n + 1;
            while (freq[l + 1] < k) ++l;
            freq[n] = freq[l];
            freq[l] = k;

            const int i = child[n];
            parent[i] = static_cast<std::int16_t>(l);
            if (i < T) parent[i + 1] = static_cast<std::int16_t>(l);
            const int j = child[l];
            child[l] = static_cast<std::int16_t>(i);
            parent[j] = static_cast<std::int16_t>(n);
            if (j < T) parent[j + 1] = static_cast<std::int16_t>(n);
            child[n] = static_cast<std::int16_t>(j);
            n = l;
        }
        n = parent[n];
    } while (n != 0);
}

}  // namespace kes::lzh
