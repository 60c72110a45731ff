#pragma once
// The adaptive Huffman code tree and the position-code tables of the skin container's compressed
// stream. The decoder (TLZH) and our own encoder share this one tree, so both sides always hold
// the same codes: same start, an update after every symbol, a rebuild at the same root frequency.
#include <array>
#include <cstdint>

namespace kes::lzh {

constexpr int N = 4096;                      // ring buffer size
constexpr int F = 60;                        // longest match
constexpr int THRESHOLD = 2;                 // matches are at least THRESHOLD + 1 bytes long
constexpr int N_CHAR = 256 - THRESHOLD + F;  // 314 symbols: 256 literals, 58 match lengths
constexpr int T = N_CHAR * 2 - 1;            // 627 tree nodes
constexpr int R = T - 1;                     // root node
constexpr std::uint32_t MAX_FREQ = 0x8000;   // root frequency that triggers a rebuild
constexpr int RING_START = N - F;            // first write position; the bytes before it are blanks

// Upper 6 bits of a match offset: d_code[b] is the value coded by the leading byte b,
// d_len[b] the number of bits of its prefix code plus 2.
extern const std::array<std::uint8_t, 256> d_code;
extern const std::array<std::uint8_t, 256> d_len;

class LzhTree {
public:
    // The starting tree: every symbol with frequency 1, nodes joined pairwise in order.
    void InitTree();
    // Counts symbol c once more, keeping the nodes ordered by frequency (rebuilds first at MAX_FREQ).
    void UpdateTree(int c);

    // Node layout: nodes 0..T-1 ordered by frequency; child[n] >= T marks a leaf of symbol child[n] - T,
    // otherwise child[n] and child[n] + 1 are the node's two children. parent[c + T] is the leaf of symbol c.
    std::array<std::uint32_t, T + 1> freq{};
    std::array<std::int16_t, T + N_CHAR> parent{};
    std::array<std::int16_t, T> child{};
    int rebuilds = 0;  // times the tree was rebuilt since InitTree

private:
    void RebuildTree();
};

}  // namespace kes::lzh
