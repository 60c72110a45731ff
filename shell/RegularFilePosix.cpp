// The regular-file reader where the neutral code is built for the development machine (its tests).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>

#include "shell/RegularFile.h"

namespace kes {

FileRead ReadRegularFile(const std::string& path, std::string& bytes, std::uint64_t maxBytes) {
    if (path.empty() || IsDeviceName(path)) return FileRead::NotFound;
    // Not blocking: opening a FIFO for reading would wait for a writer.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return FileRead::NotFound;
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return FileRead::NotFound;
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes) return FileRead::TooLarge;
    std::string data;
    try {
        data.resize(static_cast<size_t>(st.st_size));
    } catch (const std::bad_alloc&) {
        return FileRead::NotFound;
    }
    size_t got = 0;
    while (got < data.size()) {
        const ssize_t n = read(fd, data.data() + got, data.size() - got);
        if (n < 0) return FileRead::NotFound;
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    data.resize(got);
    bytes = std::move(data);
    return FileRead::Ok;
}

std::string SystemFileName(const std::string& path) { return path; }

}  // namespace kes
