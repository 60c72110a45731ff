// Regular files on Windows: the handle's type is checked after opening, so that only disk files (local or on
// a network share) are read.
#include "shell/RegularFile.h"

#include <algorithm>
#include <memory>
#include <new>
#include <stdexcept>

#include "base/win/Win.h"

namespace kes {

namespace {

struct CloseFile {
    void operator()(HANDLE h) const {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
using FileHandle = std::unique_ptr<void, CloseFile>;

}  // namespace

FileRead ReadRegularFile(const std::string& path, std::string& bytes, std::uint64_t maxBytes) {
    if (path.empty() || IsDeviceName(path)) return FileRead::NotFound;
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE || GetFileType(file.get()) != FILE_TYPE_DISK) return FileRead::NotFound;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return FileRead::NotFound;
    const std::uint64_t size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (size > maxBytes) return FileRead::TooLarge;
    std::string data;
    try {
        data.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return FileRead::NotFound;
    } catch (const std::length_error&) {
        return FileRead::NotFound;
    }
    size_t got = 0;
    while (got < data.size()) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - got, 1u << 20));
        DWORD n = 0;
        if (!ReadFile(file.get(), data.data() + got, want, &n, nullptr)) return FileRead::NotFound;
        if (n == 0) break;
        got += n;
    }
    data.resize(got);
    bytes = std::move(data);
    return FileRead::Ok;
}

std::string SystemFileName(const std::string& path) {
    if (path.empty()) return path;
    char full[MAX_PATH * 2] = "";
    DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full) return path;
    char longName[MAX_PATH * 2] = "";
    const DWORD m = GetLongPathNameA(full, longName, sizeof longName);
    if (m == 0 || m >= sizeof longName) return std::string(full, n);
    return std::string(longName, m);
}

}  // namespace kes
