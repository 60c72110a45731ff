#pragma once
// The line the console companion sends with WM_COPYDATA, and what of it goes to the board.
#include <cstddef>
#include <optional>
#include <string>

namespace kes {

// The text of a copy-data block: its bytes up to the first zero byte, never more than `size` bytes.
// nullopt for a null data pointer (the message is ignored).
std::optional<std::string> CopyDataText(const void* data, size_t size);

// The largest block CopyData takes: far more than a console line. A longer one (from any process) would keep
// the window writing until every byte is on the wire.
inline constexpr size_t kMaxCopyDataBytes = 64 * 1024;
inline bool CopyDataTooLong(size_t size) { return size > kMaxCopyDataBytes; }

// What CopyData writes to the port: the text + CR while the port is open; nullopt when the port is closed,
// the block has no data or is too long (then nothing else happens either).
std::optional<std::string> CopyDataPortBytes(bool portOpen, const void* data, size_t size);

}  // namespace kes
