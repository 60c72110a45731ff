#include "tools/boardsim/Board.h"

#include <algorithm>
#include <cstdint>
#include <sstream>

namespace boardsim {

namespace {

// With a speed set, one read or write moves at most this many milliseconds worth of bytes.
constexpr Millis kSlice = 10;
constexpr char kBackspace = 0x08;

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool CompileOnly(const std::string& lowerWord) {
    static const std::set<std::string> words = {";",     "if",     "else", "then", "begin", "until", "again",
                                                "while", "repeat", "do",   "?do",  "loop",  "+loop", "leave"};
    return words.count(lowerWord) != 0;
}

}  // namespace

void Board::Reset(Instant now) {
    lineEnd_ = LineEnd::Cr;
    delay_ = 0;
    speed_ = 0;
    splitAnswers_ = -1;
    SetChunk(0, 0);
    silentAfter_ = -1;
    linesSinceSilentSet_ = 0;
    epoch_ = now;
    compiling_ = false;
    dictionary_.clear();
    Purge();
    inFreeAt_ = outFreeAt_ = 0;
    lines_.clear();
    received_.clear();
    violations_ = 0;
    reactions_.clear();
    answerSentAt_ = -1;
    lineFirstUs_ = lineAnsweredUs_ = -1;
}

void Board::Purge() {
    raw_.clear();
    edited_.clear();
    echo_.clear();
    lineStarted_ = false;
    lineEarly_ = false;
    queue_.clear();
    headSent_ = 0;
    answersPending_ = 0;
}

// A new speed starts afresh: time booked under the old one is dropped.
void Board::SetSpeed(long bytesPerSecond) {
    speed_ = bytesPerSecond < 0 ? 0 : bytesPerSecond;
    inFreeAt_ = outFreeAt_ = 0;
}

void Board::SetChunk(std::size_t min, std::size_t max) {
    chunkMin_ = min;
    chunkMax_ = std::max(min, max);
    chunkSeed_ = 1;
    chunk_ = chunkMin_;
}

void Board::SetSilentAfter(long lines) {
    silentAfter_ = lines < 0 ? -1 : lines;
    linesSinceSilentSet_ = 0;
}

bool Board::Defined(const std::string& name) const { return dictionary_.count(Lower(name)) != 0; }

void Board::Receive(std::string_view bytes, Instant now) {
    received_.append(bytes);
    if (received_.size() > kMaxReceivedBytes) received_.erase(0, received_.size() - kMaxReceivedBytes);
    for (char c : bytes) ByteIn(c, now);
    FlushEcho(now);
    if (speed_ > 0 && !bytes.empty())
        inFreeAt_ = std::max(inFreeAt_, now) + bytes.size() * 1000.0 / speed_;
}

void Board::ByteIn(char c, Instant now) {
    const char end = lineEnd_ == LineEnd::Cr ? '\r' : '\n';
    const char ignored = lineEnd_ == LineEnd::Cr ? '\n' : '\r';
    if (c == ignored) return;
    if (!lineStarted_) {
        lineStarted_ = true;
        lineEarly_ = answersPending_ > 0;
        if (lineEarly_) ++violations_;
        if (!lineEarly_ && answerSentAt_ >= 0 && reactions_.size() < kMaxRecordedLines)
            reactions_.push_back(micros_ - answerSentAt_);
        lineFirstUs_ = micros_;
        lineAnsweredUs_ = lineEarly_ ? -1 : answerSentAt_;
        answerSentAt_ = -1;
    }
    if (c == end) {
        LineDone(now);
        return;
    }
    raw_ += c;
    if (c == kBackspace) {
        if (!edited_.empty()) edited_.pop_back();
    } else {
        edited_ += c;
    }
    if (!Silent()) echo_ += c;
}

void Board::LineDone(Instant now) {
    FlushEcho(now);
    if (lines_.size() == kMaxRecordedLines) lines_.pop_front();
    lines_.push_back({static_cast<Millis>(now - epoch_), raw_, lineEarly_, lineAnsweredUs_, lineFirstUs_, micros_});
    const bool silent = Silent();
    if (silentAfter_ >= 0) ++linesSinceSilentSet_;
    if (!silent) {
        std::string answer = Answer(edited_);
        const std::size_t end = lineEnd_ == LineEnd::Cr ? answer.size() - 1 : answer.size();
        if (splitAnswers_ < 0) {
            Queue(std::move(answer), delay_, end, now);
        } else {
            const std::size_t text = answer.size() - 2;  // before CR LF
            Queue(answer.substr(0, text), delay_, 0, now);
            Queue(answer.substr(text), splitAnswers_, end - text, now);
        }
    }
    raw_.clear();
    edited_.clear();
    lineStarted_ = false;
    lineEarly_ = false;
}

// Interprets just enough Forth to know definitions and compile-only words; comments are skipped.
std::string Board::Answer(const std::string& line) {
    std::istringstream words(line);
    std::string word;
    while (words >> word) {
        const std::string lower = Lower(word);
        if (lower == "\\") break;
        if (lower == "(") {
            while (words >> word && word.back() != ')') {
            }
            continue;
        }
        if (lower == ":") {
            std::string name;
            if (!(words >> name)) {
                compiling_ = true;
                continue;
            }
            if (Defined(name)) {
                compiling_ = false;
                return " " + name + " ALREADY DEFINED\r\n";
            }
            dictionary_.insert(Lower(name));
            compiling_ = true;
            continue;
        }
        if (!compiling_ && CompileOnly(lower)) return " COMPILE ONLY\r\n";
        if (lower == ";") compiling_ = false;
    }
    return " ok\r\n";
}

void Board::Send(std::string bytes, Instant now) {
    if (!bytes.empty()) Queue(std::move(bytes), 0, 0, now);
}

void Board::Pause(Millis ms, Instant now) { Queue({}, ms < 0 ? 0 : ms, 0, now); }

void Board::Burst(std::size_t count, Instant now) {
    std::string bytes(count, '0');
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>('0' + i % 10);
    Send(std::move(bytes), now);
}

void Board::FlushEcho(Instant now) {
    if (echo_.empty()) return;
    Queue(std::move(echo_), 0, 0, now);
    echo_.clear();
}

void Board::Queue(std::string bytes, Millis gap, std::size_t answerEnd, Instant now) {
    Chunk chunk{std::move(bytes), gap, now, -1, answerEnd};
    if (answerEnd > 0) ++answersPending_;
    if (queue_.empty()) chunk.due = now + gap;
    queue_.push_back(std::move(chunk));
}

void Board::PopHead(Instant end) {
    queue_.pop_front();
    headSent_ = 0;
    if (queue_.empty()) return;
    Chunk& next = queue_.front();
    next.due = std::max(next.queuedAt, end) + next.gap;
}

std::size_t Board::Allowance(double freeAt, Instant now) const {
    if (speed_ == 0) return SIZE_MAX;
    if (now < freeAt) return 0;
    return static_cast<std::size_t>(std::max<long>(1, speed_ * kSlice / 1000));
}

std::size_t Board::InputAllowance(Instant now) const { return Allowance(inFreeAt_, now); }

std::size_t Board::NextWriteSize() const {
    const std::size_t left = queue_.front().bytes.size() - headSent_;
    if (speed_ == 0) return left;
    std::size_t allowed = static_cast<std::size_t>(std::max<long>(1, speed_ * kSlice / 1000));
    if (chunk_ > 0) allowed = std::min(allowed, chunk_);
    return std::min(allowed, left);
}

// The line carries the head's bytes one after the other from when they are due or the line is free, whichever is
// later; a piece is handed over when its last byte has crossed.
Instant Board::NextWriteDue() const {
    const Chunk& head = queue_.front();
    if (speed_ == 0 || head.bytes.empty()) return head.due;
    return std::max(outFreeAt_, head.due) + NextWriteSize() * 1000.0 / speed_;
}

std::string_view Board::Pending(Instant now) {
    while (!queue_.empty() && queue_.front().due <= now && queue_.front().bytes.empty())
        PopHead(queue_.front().due);
    if (queue_.empty() || NextWriteDue() > now) return {};
    return std::string_view(queue_.front().bytes).substr(headSent_, NextWriteSize());
}

void Board::Consumed(std::size_t count, Instant now) {
    if (queue_.empty() || count == 0) return;
    Chunk& head = queue_.front();
    count = std::min(count, head.bytes.size() - headSent_);
    const std::size_t before = headSent_;
    headSent_ += count;
    if (head.answerEnd > before && head.answerEnd <= headSent_ && --answersPending_ == 0) answerSentAt_ = micros_;
    // The line's own timeline: a write the I/O loop makes late does not slow the line down.
    if (speed_ > 0) outFreeAt_ = std::max(outFreeAt_, head.due) + count * 1000.0 / speed_;
    if (chunkMax_ > 0) {
        chunkSeed_ = chunkSeed_ * 1103515245u + 12345u;
        chunk_ = chunkMin_ + (chunkSeed_ >> 16) % (chunkMax_ - chunkMin_ + 1);
    }
    if (headSent_ == head.bytes.size()) PopHead(speed_ > 0 ? std::min(outFreeAt_, now) : now);
}

Instant Board::NextWakeup(Instant now, bool output, bool input) const {
    Instant wake = -1;
    auto consider = [&](Instant at) {
        const Instant ms = at <= now ? 0 : at - now;
        wake = wake < 0 ? ms : std::min(wake, ms);
    };
    if (output && !queue_.empty()) consider(NextWriteDue());
    if (input && speed_ > 0 && inFreeAt_ > now) consider(inFreeAt_);
    return wake;
}

}  // namespace boardsim
