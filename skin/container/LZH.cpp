#include "LZH.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "LzhTree.h"

namespace kes {

using namespace lzh;

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

std::int64_t TLZH::MaxUnpackedSize(std::int64_t packed) {
    if (packed < 0) packed = 0;
    return (packed + kReadAhead) * 8 * F / 10;
}

void TLZH::AllocTables() {
    try {
        // N + F - 1 bytes as the stream's ring is laid out; only the first N are addressed. Zeroed, so a
        // match into the part no byte was written to yet gives zeros, not leftovers.
        ring_.reset(new std::uint8_t[N + F - 1]());
        tree_ = std::make_unique<LzhTree>();
    } catch (const std::bad_alloc&) {
        FreeTables();
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
    bitBuf_ = 0;
    bitCount_ = 0;
    missing_ = 0;
    inBufLen_ = inBufPos_ = 0;
    outLen_ = 0;
}

void TLZH::FreeTables() {
    ring_.reset();
    tree_.reset();
}

void TLZH::Refill() {
    while (bitCount_ <= 8) {
        if (inBufPos_ == inBufLen_) {
            std::uint16_t got = 0;
            (*read_)(inBuf_, sizeof inBuf_, got);
            inBufLen_ = std::min<int>(got, sizeof inBuf_);
            inBufPos_ = 0;
        }
        std::uint32_t byte = 0;
        if (inBufPos_ < inBufLen_) {
            byte = inBuf_[inBufPos_++];
        } else if (++missing_ > kReadAhead) {
            throw ElzhException("LZH : Compressed data ends before the unpacked length");
        }
        bitBuf_ |= byte << (8 - bitCount_);
        bitCount_ += 8;
    }
}

int TLZH::ReadBit() {
    Refill();
    const int bit = (bitBuf_ >> 15) & 1;
    bitBuf_ = (bitBuf_ << 1) & 0xFFFF;
    --bitCount_;
    return bit;
}

int TLZH::ReadByte() {
    Refill();
    const int byte = (bitBuf_ >> 8) & 0xFF;
    bitBuf_ = (bitBuf_ << 8) & 0xFFFF;
    bitCount_ -= 8;
    return byte;
}

int TLZH::DecodeSymbol() {
    int node = tree_->child[R];
    while (node < T) node = tree_->child[node + ReadBit()];
    const int c = node - T;
    tree_->UpdateTree(c);
    return c;
}

int TLZH::DecodeOffset() {
    int b = ReadByte();
    const int high = d_code[b];
    for (int k = d_len[b] - 2; k > 0; --k) b = (b << 1) + ReadBit();
    return (high << 6) | (b & 0x3F);
}

void TLZH::Flush() {
    int done = 0;
    while (done < outLen_) {
        std::uint16_t taken = 0;
        (*write_)(outBuf_ + done, static_cast<std::uint16_t>(outLen_ - done), taken);
        if (taken == 0) throw ElzhException("LZH : Output refused");
        done += taken;
    }
    outLen_ = 0;
}

void TLZH::Put(std::uint8_t byte) {
    outBuf_[outLen_++] = byte;
    if (outLen_ == static_cast<int>(sizeof outBuf_)) Flush();
}

void TLZH::Decode(std::int32_t count, const WriteMethod& write, const ReadMethod& read) {
    if (count <= 0) return;
    read_ = &read;
    write_ = &write;
    AllocTables();
    struct Guard {
        TLZH* self;
        ~Guard() { self->FreeTables(); }
    } guard{this};

    tree_->InitTree();
    std::memset(ring_.get(), ' ', RING_START);
    int r = RING_START;
    std::uint8_t* ring = ring_.get();
    for (std::int32_t produced = 0; produced < count;) {
        const int c = DecodeSymbol();
        if (c < 256) {
            Put(static_cast<std::uint8_t>(c));
            ring[r] = static_cast<std::uint8_t>(c);
            r = (r + 1) & (N - 1);
            ++produced;
        } else {
            const int i = r - DecodeOffset() - 1;
            const int length = c - 255 + THRESHOLD;
            // Only the stated length is delivered; a final match may reach past it.
            for (int k = 0; k < length && produced < count; ++k, ++produced) {
                const std::uint8_t byte = ring[(i + k) & (N - 1)];
                Put(byte);
                ring[r] = byte;
                r = (r + 1) & (N - 1);
            }
        }
    }
    Flush();
}

void TLZH::SetInput(const std::uint8_t* data, std::size_t size) {
    inData_ = data;
    inSize_ = size;
    inPos_ = 0;
}

void TLZH::ReadInput(std::uint8_t* buffer, std::uint16_t size, std::uint16_t& actual) {
    const std::size_t n = std::min<std::size_t>(size, inSize_ - inPos_);
    if (n) std::memcpy(buffer, inData_ + inPos_, n);
    inPos_ += n;
    actual = static_cast<std::uint16_t>(n);
}

void TLZH::WriteOutput(const std::uint8_t* buffer, std::uint16_t size, std::uint16_t& actual) {
    output_->append(reinterpret_cast<const char*>(buffer), size);
    actual = size;
}

void TLZH::DecodeStreams(std::int32_t count) {
    if (count > MaxUnpackedSize(static_cast<std::int64_t>(inSize_)))
        throw ElzhException("LZH : Unpacked length does not fit the packed data");
    const ReadMethod read = [this](std::uint8_t* b, std::uint16_t s, std::uint16_t& a) { ReadInput(b, s, a); };
    const WriteMethod write = [this](const std::uint8_t* b, std::uint16_t s, std::uint16_t& a) {
        WriteOutput(b, s, a);
    };
    Decode(count, write, read);
}

}  // namespace kes
