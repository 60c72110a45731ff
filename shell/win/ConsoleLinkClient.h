#pragma once
// Client side of the console link: each drained batch goes to the console companion over its own TCP
// connection (connect, write the bytes unchanged, disconnect). Connecting and writing are bounded in time,
// so a listener that doesn't answer cannot freeze the terminal. GUI thread only.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/CompanionLink.h"
#include "base/win/WinePolicy.h"

namespace kes {

struct TLinkError {
    const char* Api = "";  // the call that failed: "WSAStartup", "socket", "connect", "send", ...
    int Code = 0;          // its Winsock error (WSAETIMEDOUT when a time-out ran out)
    std::string Text() const;
};

class TConsoleLinkClient {
public:
    std::string Host = link::kHost;
    uint16_t Port = link::kPort;
    unsigned ConnectTimeoutMs = 300;     // a connect that takes longer fails
    unsigned SendStallTimeoutMs = 2000;  // a write that makes no progress for this long fails

    TConsoleLinkClient();  // starts Winsock 2.2
    ~TConsoleLinkClient();
    TConsoleLinkClient(const TConsoleLinkClient&) = delete;
    TConsoleLinkClient& operator=(const TConsoleLinkClient&) = delete;

    // One batch over one connection; nullopt when every byte was written and the connection closed.
    std::optional<TLinkError> SendBatch(std::string_view bytes);

    // True when a top-level window titled "KestrupTirvane" (the companion's console) exists.
    static bool CompanionWindowExists();
    // The same question, asked once per forwarded batch: the companion's own window and a console window are
    // looked up by class (quick); a search over every top-level window for any other window with that title,
    // which takes a while under Wine, runs at most every TitleSearchIntervalMs while it finds nothing.
    bool CompanionWindowSeen();
    unsigned TitleSearchIntervalMs = WinePolicy::CompanionTitleSearchIntervalMs;

private:
    int startError_ = 0;                      // WSAStartup's result; 0 when Winsock is ready
    unsigned long long nextTitleSearch_ = 0;  // GetTickCount64 time
};

}  // namespace kes
