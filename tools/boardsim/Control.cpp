// Control protocol of kestrup-boardsim.
//
// TCP on 127.0.0.1 (port chosen by the board and written to its --port-file). Any number of clients; each
// sends commands as text lines (LF or CR LF) and gets, per command, one answer line: "ok", "ok VALUE" or
// "error TEXT". Only `lines` answers with more: "ok N" followed by N lines.
//
//   ping                   ok
//   mode cr|esp32          line end CR (LF ignored) or LF (CR ignored)                     default cr
//   delay MS               wait MS ms before each answer                                  default 0
//   speed BPS              limit both directions to BPS bytes a second, 0 = unlimited      default 0
//   chunk MIN [MAX]        with a speed set, each write carries MIN..MAX bytes at most; chunk 0 = off  default off
//   split-answers MS|off   each answer's CR LF goes out as a write of its own, MS ms after its text  default off
//   silent-after N|off     answer N more lines, then neither echo nor answer              default off
//   send HEX               queue raw bytes as one write ("1b5b316d", blanks allowed)
//   text STRING            queue everything after "text " as one write; escapes \r \n \t \e \a \0 \\ \xHH
//   pause MS               the next queued write waits MS ms after the one before
//   burst N                queue N bytes "0123456789..." as one write
//   lines                  ok N, then per received line: "MS early|paced TEXT" (MS since the last reset;
//                          TEXT with \\ and \xHH for bytes outside 0x20-0x7E)
//   count                  ok N: the number of lines received since the last reset (cheap to ask often)
//   timeline               ok N, then per received line: "ANSWERED_US FIRST_US END_US": on the board's microsecond
//                          clock, when the answer before it had gone out (-1: none awaited), when its first byte and
//                          when its line end came
//   received               ok TEXT: every byte received since the last reset, as it came (line ends included),
//                          escaped as in `lines`; "ok" when nothing came
//   violations             ok N: lines that arrived before the answer to the line before was sent
//   reactions              ok N MEDIAN_US: how long the terminal took from the last byte of an answer to the first
//                          byte of the next line, over the N paced lines since the last reset (ok 0 0: none)
//   purge                  drop queued output, the partial line and unread bytes on the serial line
//   reset                  purge, forget words, records and settings (back to the defaults above)
//   unplug MS              take the serial line away (the far end sees its port vanish, as when a USB adapter
//                          is pulled out), queued output dropped; a new line comes back after MS ms. Only with
//                          --nullmodem; otherwise "error"
//
// Every answer to a line is " ok" CR LF; " NAME ALREADY DEFINED" CR LF for a second ": NAME", and
// " COMPILE ONLY" CR LF for a compile-only word (if, do, ; ...) outside a definition.
#include "tools/boardsim/Control.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace boardsim {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A whole decimal number that fits a long, or false.
bool ParseNumber(std::string_view text, long& value) {
    if (text.empty() || text.size() > 12) return false;
    std::string s(text);
    char* end = nullptr;
    value = std::strtol(s.c_str(), &end, 10);
    return *end == '\0';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

ControlAnswer Ok(const std::string& value = {}) { return {value.empty() ? "ok\n" : "ok " + value + "\n"}; }
ControlAnswer Error(const std::string& text) { return {"error " + text + "\n"}; }

}  // namespace

bool ParseHex(std::string_view hex, std::string& bytes) {
    bytes.clear();
    int high = -1;
    for (char c : hex) {
        if (c == ' ' || c == '\t') continue;
        const int d = HexDigit(c);
        if (d < 0) return false;
        if (high < 0) {
            high = d;
        } else {
            bytes += static_cast<char>(high * 16 + d);
            high = -1;
        }
    }
    return high < 0;
}

bool Unescape(std::string_view text, std::string& bytes) {
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes += text[i];
            continue;
        }
        if (++i == text.size()) return false;
        switch (text[i]) {
        case 'r': bytes += '\r'; break;
        case 'n': bytes += '\n'; break;
        case 't': bytes += '\t'; break;
        case 'e': bytes += '\x1b'; break;
        case 'a': bytes += '\a'; break;
        case '0': bytes += '\0'; break;
        case '\\': bytes += '\\'; break;
        case 'x': {
            const int h = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
            const int l = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
            if (h < 0 || l < 0) return false;
            bytes += static_cast<char>(h * 16 + l);
            i += 2;
            break;
        }
        default: return false;
        }
    }
    return true;
}

std::string EscapeLine(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c >= 0x20 && c <= 0x7e) {
            out += ch;
        } else {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

ControlAnswer RunControl(Board& board, std::string_view command, Instant now) {
    if (!command.empty() && command.back() == '\r') command.remove_suffix(1);
    while (!command.empty() && command.front() == ' ') command.remove_prefix(1);
    const std::size_t blank = command.find(' ');
    const std::string_view verb = command.substr(0, blank);
    // `text` takes everything after its blank as it is; the other commands a trimmed argument.
    const std::string_view rest = blank == std::string_view::npos ? std::string_view{} : command.substr(blank + 1);
    const std::string_view arg = Trim(rest);
    long number = 0;
    const bool numeric = ParseNumber(arg, number);

    if (verb == "ping") return Ok();
    if (verb == "mode") {
        if (arg == "cr")
            board.SetLineEnd(LineEnd::Cr);
        else if (arg == "esp32")
            board.SetLineEnd(LineEnd::Lf);
        else
            return Error("mode is cr or esp32");
        return Ok();
    }
    if (verb == "delay" || verb == "speed" || verb == "pause" || verb == "burst") {
        if (!numeric || number < 0) return Error(std::string(verb) + " needs a number >= 0");
        if (verb == "delay")
            board.SetDelay(number);
        else if (verb == "speed")
            board.SetSpeed(number);
        else if (verb == "pause")
            board.Pause(number, now);
        else
            board.Burst(static_cast<std::size_t>(number), now);
        return Ok();
    }
    if (verb == "chunk") {
        const size_t blank = arg.find(' ');
        long min = number, max = number;
        bool ok = numeric;
        if (blank != std::string_view::npos)
            ok = ParseNumber(arg.substr(0, blank), min) && ParseNumber(Trim(arg.substr(blank + 1)), max);
        if (!ok || min < 0 || max < min) return Error("chunk needs MIN [MAX] with 0 <= MIN <= MAX");
        board.SetChunk(static_cast<std::size_t>(min), static_cast<std::size_t>(max));
        return Ok();
    }
    if (verb == "split-answers") {
        if (arg == "off")
            board.SetSplitAnswers(-1);
        else if (numeric && number >= 0)
            board.SetSplitAnswers(number);
        else
            return Error("split-answers needs a number >= 0 or off");
        return Ok();
    }
    if (verb == "silent-after") {
        if (arg == "off")
            board.SetSilentAfter(-1);
        else if (numeric && number >= 0)
            board.SetSilentAfter(number);
        else
            return Error("silent-after needs a number >= 0 or off");
        return Ok();
    }
    if (verb == "send") {
        std::string bytes;
        if (!ParseHex(arg, bytes)) return Error("send needs pairs of hex digits");
        board.Send(std::move(bytes), now);
        return Ok();
    }
    if (verb == "text") {
        std::string bytes;
        if (!Unescape(rest, bytes)) return Error("bad escape in text");
        board.Send(std::move(bytes), now);
        return Ok();
    }
    if (verb == "lines") {
        const auto& lines = board.Lines();
        std::string text = "ok " + std::to_string(lines.size()) + "\n";
        for (const ReceivedLine& line : lines)
            text += std::to_string(line.at) + (line.early ? " early " : " paced ") + EscapeLine(line.text) + "\n";
        return {text};
    }
    if (verb == "count") return Ok(std::to_string(board.Lines().size()));
    if (verb == "timeline") {
        const auto& lines = board.Lines();
        std::string text = "ok " + std::to_string(lines.size()) + "\n";
        for (const ReceivedLine& line : lines)
            text += std::to_string(line.answeredUs) + " " + std::to_string(line.firstUs) + " " +
                    std::to_string(line.endUs) + "\n";
        return {text};
    }
    if (verb == "received") return Ok(EscapeLine(board.Received()));
    if (verb == "violations") return Ok(std::to_string(board.Violations()));
    if (verb == "reactions") {
        std::vector<std::int64_t> r = board.Reactions();
        std::sort(r.begin(), r.end());
        return Ok(std::to_string(r.size()) + " " + std::to_string(r.empty() ? 0 : r[r.size() / 2]));
    }
    if (verb == "purge" || verb == "reset") {
        if (verb == "purge")
            board.Purge();
        else
            board.Reset(now);
        ControlAnswer answer = Ok();
        answer.flushLine = true;
        return answer;
    }
    if (verb == "unplug") {
        if (!numeric || number < 0) return Error("unplug needs a number of milliseconds");
        board.Purge();
        ControlAnswer answer = Ok();
        answer.unplugMs = number;
        return answer;
    }
    if (verb.empty()) return Error("empty command");
    return Error("unknown command " + std::string(verb));
}

}  // namespace boardsim
