#pragma once
// The upload's wait on Windows: sleeps on the GUI thread's message queue, on the synchronous calls that worker
// threads queue for it and on its own wake (MsgWaitForMultipleObjectsEx), and handles what arrives through the
// application object, so receive events, timers, the warning question and the Cancel button run while a line waits.
// A quit request taken meanwhile ends the wait; RepostQuit gives it back to the outer message loop once the upload
// has ended.
#include <cstdint>
#include <functional>

#include "base/win/Unique.h"
#include "shell/UploadInterfaces.h"

namespace kes {

class TUploadMessageLoop : public UploadHost {
public:
    // How long the messages may wait while lines go out (one screen refresh, ms).
    static constexpr std::uint64_t kMessagePassMs = 16;

    std::uint64_t NowMs() override;
    bool ProcessMessages(std::uint32_t timeoutMs) override { return ProcessMessages(timeoutMs, nullptr); }
    // Runs the synchronous calls, then handles the messages; these wait for a later call (kMessagePassMs at
    // most) when nothing was waited for (timeoutMs 0) or when the calls left `released` true: the upload
    // goes on first.
    bool ProcessMessages(std::uint32_t timeoutMs, const std::function<bool()>& released);
    // Ends the sleep of ProcessMessages (any thread); a wake counts as a call that may leave `released` true.
    void Wake() override;

    bool QuitTaken() const { return quit_; }
    // Posts the quit request taken during the upload again (with its exit code); call after the upload.
    void RepostQuit();

private:
    bool quit_ = false;
    int exitCode_ = 0;
    std::uint64_t messagesAt_ = 0;  // when the messages were last handled
    UniqueHandle wake_ = NewEvent(false, false);
};

}  // namespace kes
