#pragma once
// The line the console companion sends with WM_COPYDATA, and what of it goes to the board.
#include <cstddef>
#include <optional>
#include <string>

namespace kes {

// The text of a copy-data block: its bytes up to the first zero byte, never more than `size` bytes.
// nullopt for a null data pointer (the message is ignored).
std::optional<std::string> CopyDataText(const void* data, size_t size);

// What CopyData writes to the port: the text + CR while the port is open; nullopt when the port is closed
// or the block has no data (then nothing else happens either).
std::optional<std::string> CopyDataPortBytes(bool portOpen, const void* data, size_t size);

}  // namespace kes
