#pragma once
// Cuts a byte stream into lines. Bytes after the last line end stay for the next line, so input
// that arrives ahead of a read is never thrown away.
#include <optional>
#include <string>

namespace kes::tirvane {

class LineSplitter {
public:
    void Append(const std::string& bytes) { pending_ += bytes; }
    // The next whole line without its end (LF, or CR LF); nothing while no line end has arrived.
    std::optional<std::string> Next();
    // At the end of the input: the unended rest as a last line, if there is any.
    std::optional<std::string> Rest();
    bool HasLine() const { return pending_.find('\n') != std::string::npos; }

private:
    std::string pending_;
};

}  // namespace kes::tirvane
