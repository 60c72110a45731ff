#pragma once
// Encoder of the skin container's compressed stream, the counterpart of TLZH. It keeps the same code tree
// as the decoder (lzh::LzhTree), so every symbol is coded with the code the decoder will read it by.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kes {

namespace lzh {
class LzhTree;
}

// Writes symbols one by one: literal bytes and matches (length 3..60 at distance 1..4096 back in the
// decoder's ring, whose 4036 bytes before the first output byte hold blanks).
class LzhSymbolWriter {
public:
    LzhSymbolWriter();
    ~LzhSymbolWriter();
    LzhSymbolWriter(const LzhSymbolWriter&) = delete;
    LzhSymbolWriter& operator=(const LzhSymbolWriter&) = delete;

    void Literal(std::uint8_t byte);
    // Raises std::invalid_argument for a length or distance out of range.
    void Match(int length, int distance);
    // The packed bytes, the last one padded with zero bits. The writer is finished afterwards.
    std::string Finish();

    // The longest symbol code written so far, in bits (never limited to 16).
    int LongestCode() const { return longest_; }
    // How often the code tree was rebuilt (its root frequency reached the limit).
    int TreeRebuilds() const;

private:
    void Symbol(int c);
    void Bits(std::uint32_t value, int count);

    std::unique_ptr<lzh::LzhTree> tree_;
    std::vector<std::uint8_t> path_;  // code bits of one symbol, leaf first
    std::string out_;
    std::uint64_t acc_ = 0;  // pending bits, right-aligned
    int accBits_ = 0;
    int longest_ = 0;
};

// Packs data: the longest match within the window (the nearest of equal length), else a literal.
// treeRebuilds, when given, receives how often the code tree was rebuilt.
std::string LzhEncode(const std::string& data, int* treeRebuilds = nullptr);

}  // namespace kes
