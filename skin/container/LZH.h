#pragma once
// TLZH: decoder of the skin container's compressed stream (LZSS with an adaptive Huffman code).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/Exception.h"

namespace kes {

class ElzhException : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "ElzhException"; }
};

namespace lzh {
class LzhTree;
}

class TLZH {
public:
    // Read: fill up to size bytes, report the number delivered in actual (0 at the end of the input).
    // Write: take size bytes, report the number taken in actual.
    using ReadMethod = std::function<void(std::uint8_t* buffer, std::uint16_t size, std::uint16_t& actual)>;
    using WriteMethod = std::function<void(const std::uint8_t* buffer, std::uint16_t size, std::uint16_t& actual)>;

    // Bytes a valid stream may fetch past its last coded bit (the bit buffer reads ahead).
    static constexpr int kReadAhead = 2;

    TLZH();
    ~TLZH();
    TLZH(const TLZH&) = delete;
    TLZH& operator=(const TLZH&) = delete;

    // Produces exactly count bytes through write (nothing for count <= 0). Raises ElzhException when the
    // input ends more than kReadAhead bytes before the output is complete, or the writer refuses bytes.
    void Decode(std::int32_t count, const WriteMethod& write, const ReadMethod& read);

    // The decoder's own stream methods, over the input and output set below (neither owned).
    void SetInput(const std::uint8_t* data, std::size_t size);
    void SetOutput(std::string* output) { output_ = output; }
    void ReadInput(std::uint8_t* buffer, std::uint16_t size, std::uint16_t& actual);
    void WriteOutput(const std::uint8_t* buffer, std::uint16_t size, std::uint16_t& actual);
    // Decodes count bytes from the input into the output with the two methods above; a count the input
    // cannot produce (MaxUnpackedSize) is refused before anything is decoded.
    void DecodeStreams(std::int32_t count);

    // The most bytes that packed bytes of input can produce: every symbol costs at least one bit and a
    // 60-byte match at least ten. A stated length above this is refused before decoding.
    static std::int64_t MaxUnpackedSize(std::int64_t packed);

private:
    void AllocTables();
    void FreeTables();
    void Refill();
    int ReadBit();
    int ReadByte();
    int DecodeSymbol();
    int DecodeOffset();
    void Put(std::uint8_t byte);
    void Flush();

    const std::uint8_t* inData_ = nullptr;
    std::size_t inSize_ = 0;
    std::size_t inPos_ = 0;
    std::string* output_ = nullptr;

    std::uint32_t bitBuf_ = 0;  // valid bits at the top of the low 16 bits
    int bitCount_ = 0;
    int missing_ = 0;  // refills that found no input

    const ReadMethod* read_ = nullptr;
    const WriteMethod* write_ = nullptr;
    std::uint8_t inBuf_[512];
    int inBufLen_ = 0;
    int inBufPos_ = 0;
    std::uint8_t outBuf_[4096];
    int outLen_ = 0;

    std::unique_ptr<std::uint8_t[]> ring_;
    std::unique_ptr<lzh::LzhTree> tree_;
};

}  // namespace kes
