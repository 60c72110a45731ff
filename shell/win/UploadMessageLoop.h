#pragma once
// The upload's wait on Windows: sleeps on the GUI thread's message queue (MsgWaitForMultipleObjectsEx)
// and handles what arrives through the application object, so receive events, timers, the warning
// question and the Cancel button run while a line waits. A quit request taken meanwhile ends the wait;
// RepostQuit gives it back to the outer message loop once the upload has ended.
#include <cstdint>

#include "shell/UploadInterfaces.h"

namespace kes {

class TUploadMessageLoop : public UploadHost {
public:
    std::uint64_t NowMs() override;
    bool ProcessMessages(std::uint32_t timeoutMs) override;

    bool QuitTaken() const { return quit_; }
    // Posts the quit request taken during the upload again (with its exit code); call after the upload.
    void RepostQuit();

private:
    bool quit_ = false;
    int exitCode_ = 0;
};

}  // namespace kes
