#include "shell/CopyDataLine.h"

#include <cstring>

namespace kes {

std::optional<std::string> CopyDataText(const void* data, size_t size) {
    if (data == nullptr) return std::nullopt;
    const char* bytes = static_cast<const char*>(data);
    const void* zero = std::memchr(bytes, 0, size);
    return std::string(bytes, zero ? static_cast<const char*>(zero) - bytes : size);
}

std::optional<std::string> CopyDataPortBytes(bool portOpen, const void* data, size_t size) {
    if (!portOpen || CopyDataTooLong(size)) return std::nullopt;
    auto text = CopyDataText(data, size);
    if (!text) return std::nullopt;
    *text += '\r';
    return text;
}

}  // namespace kes
