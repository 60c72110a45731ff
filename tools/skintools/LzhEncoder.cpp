#include "LzhEncoder.h"

#include <stdexcept>
#include <vector>

#include "skin/container/LzhTree.h"

namespace kes {

using namespace lzh;

namespace {

// Prefix codes of the upper 6 offset bits: the first leading byte that d_code maps to each value, and
// its d_len, the number of leading bits that make the prefix (the low 6 bits follow it).
struct PositionCodes {
    std::uint8_t code[64];
    std::uint8_t len[64];
    PositionCodes() {
        for (int b = 255; b >= 0; --b) {
            code[d_code[b]] = static_cast<std::uint8_t>(b);
            len[d_code[b]] = d_len[b];
        }
    }
};
const PositionCodes& Positions() {
    static const PositionCodes p;
    return p;
}

}  // namespace

LzhSymbolWriter::LzhSymbolWriter() : tree_(std::make_unique<LzhTree>()), path_(T) { tree_->InitTree(); }
LzhSymbolWriter::~LzhSymbolWriter() = default;

void LzhSymbolWriter::Bits(std::uint32_t value, int count) {
    acc_ = (acc_ << count) | (value & ((1u << count) - 1u));
    accBits_ += count;
    while (accBits_ >= 8) {
        accBits_ -= 8;
        out_.push_back(static_cast<char>((acc_ >> accBits_) & 0xFF));
    }
}

void LzhSymbolWriter::Symbol(int c) {
    // Collect the path from the leaf up to the root (a node's position tells which child it is),
    // then write it root first.
    std::uint8_t* path = path_.data();
    int depth = 0;
    int node = tree_->parent[c + T];
    do {
        path[depth++] = static_cast<std::uint8_t>(node & 1);
        node = tree_->parent[node];
    } while (node != R);
    for (int k = depth - 1; k >= 0; --k) Bits(static_cast<std::uint32_t>(path[k]), 1);
    if (depth > longest_) longest_ = depth;
    tree_->UpdateTree(c);
}

int LzhSymbolWriter::TreeRebuilds() const { return tree_->rebuilds; }

void LzhSymbolWriter::Literal(std::uint8_t byte) { Symbol(byte); }

void LzhSymbolWriter::Match(int length, int distance) {
    if (length < THRESHOLD + 1 || length > F || distance < 1 || distance > N)
        throw std::invalid_argument("match out of range");
    Symbol(255 - THRESHOLD + length);
    const int p = distance - 1;
    const int high = p >> 6;
    const PositionCodes& pc = Positions();
    // The decoder reads d_len + 6 bits in all: the prefix of the leading byte, then the low 6 bits.
    const int prefix = pc.len[high];
    Bits(static_cast<std::uint32_t>(pc.code[high]) >> (8 - prefix), prefix);
    Bits(static_cast<std::uint32_t>(p & 0x3F), 6);
}

std::string LzhSymbolWriter::Finish() {
    if (accBits_ > 0) Bits(0, 8 - accBits_);
    return std::move(out_);
}

std::string LzhEncode(const std::string& data, int* treeRebuilds) {
    // The window: the decoder's blanks, then the data. Positions are indices into it.
    std::string text(RING_START, ' ');
    text += data;
    const int size = static_cast<int>(text.size());
    constexpr int kHashBits = 15;
    constexpr int kMaxChain = 96;
    std::vector<int> head(1 << kHashBits, -1);
    std::vector<int> prev(static_cast<std::size_t>(size), -1);
    auto hash = [&](int pos) {
        const auto* p = reinterpret_cast<const unsigned char*>(text.data()) + pos;
        return static_cast<int>(((p[0] << 10) ^ (p[1] << 5) ^ p[2]) & ((1 << kHashBits) - 1));
    };
    auto insert = [&](int pos) {
        if (pos + 3 > size) return;
        const int h = hash(pos);
        prev[static_cast<std::size_t>(pos)] = head[static_cast<std::size_t>(h)];
        head[static_cast<std::size_t>(h)] = pos;
    };
    for (int pos = 0; pos < RING_START; ++pos) insert(pos);

    LzhSymbolWriter writer;
    int pos = RING_START;
    while (pos < size) {
        const int maxLen = std::min(F, size - pos);
        int bestLen = 0, bestDist = 0;
        if (maxLen > THRESHOLD) {
            int chain = kMaxChain;
            for (int cand = head[static_cast<std::size_t>(hash(pos))]; cand >= 0 && pos - cand <= N && chain-- > 0;
                 cand = prev[static_cast<std::size_t>(cand)]) {
                int len = 0;
                while (len < maxLen &&
                       text[static_cast<std::size_t>(cand + len)] == text[static_cast<std::size_t>(pos + len)])
                    ++len;
                if (len > bestLen) {
                    bestLen = len;
                    bestDist = pos - cand;
                    if (len == maxLen) break;
                }
            }
        }
        if (bestLen > THRESHOLD) {
            writer.Match(bestLen, bestDist);
        } else {
            bestLen = 1;
            writer.Literal(static_cast<std::uint8_t>(text[static_cast<std::size_t>(pos)]));
        }
        for (int k = 0; k < bestLen; ++k) insert(pos + k);
        pos += bestLen;
    }
    if (treeRebuilds) *treeRebuilds = writer.TreeRebuilds();
    return writer.Finish();
}

}  // namespace kes
