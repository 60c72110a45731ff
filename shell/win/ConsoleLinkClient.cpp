#include "shell/win/ConsoleLinkClient.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include "base/win/UniqueSocket.h"
#include "base/win/Win.h"

#include <algorithm>

#include "base/CompanionLink.h"

namespace kes {

namespace {

TLinkError LastError(const char* api) { return {api, WSAGetLastError()}; }

// Waits until `s` can be written to (or reports a failed connect); nullopt when ready.
std::optional<TLinkError> WaitWritable(SOCKET s, unsigned timeoutMs, const char* api) {
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval tv{static_cast<long>(timeoutMs / 1000), static_cast<long>((timeoutMs % 1000) * 1000)};
    const int n = select(0, nullptr, &writable, &failed, &tv);
    if (n == SOCKET_ERROR) return LastError("select");
    if (n == 0) return TLinkError{api, WSAETIMEDOUT};
    if (FD_ISSET(s, &failed) || !FD_ISSET(s, &writable)) {
        int error = 0;
        int length = sizeof error;
        getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
        return TLinkError{api, error != 0 ? error : WSAECONNREFUSED};
    }
    return std::nullopt;
}

}  // namespace

std::string TLinkError::Text() const {
    return std::string(Api) + " failed (Winsock error " + std::to_string(Code) + ")";
}

TConsoleLinkClient::TConsoleLinkClient() {
    WSADATA data;
    startError_ = WSAStartup(MAKEWORD(2, 2), &data);
}

TConsoleLinkClient::~TConsoleLinkClient() {
    if (startError_ == 0) WSACleanup();
}

std::optional<TLinkError> TConsoleLinkClient::SendBatch(std::string_view bytes) {
    if (startError_ != 0) return TLinkError{"WSAStartup", startError_};
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(Port);
    if (inet_pton(AF_INET, Host.c_str(), &address.sin_addr) != 1) return TLinkError{"inet_pton", WSAEINVAL};

    UniqueSocket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!s.Valid()) return LastError("socket");
    u_long nonBlocking = 1;
    if (ioctlsocket(s.Get(), FIONBIO, &nonBlocking) != 0) return LastError("ioctlsocket");

    if (connect(s.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (WSAGetLastError() != WSAEWOULDBLOCK) return LastError("connect");
        if (auto error = WaitWritable(s.Get(), ConnectTimeoutMs, "connect")) return error;
    }

    size_t sent = 0;
    while (sent < bytes.size()) {
        const int part = static_cast<int>(std::min<size_t>(bytes.size() - sent, 1u << 20));
        const int n = send(s.Get(), bytes.data() + sent, part, 0);
        if (n != SOCKET_ERROR) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK) return LastError("send");
        if (auto error = WaitWritable(s.Get(), SendStallTimeoutMs, "send")) return error;
    }
    // Graceful close: the companion reads every byte, then sees the end of the batch.
    if (shutdown(s.Get(), SD_SEND) != 0) return LastError("shutdown");
    return std::nullopt;
}

bool TConsoleLinkClient::CompanionWindowExists() { return FindWindowA(nullptr, link::kCompanionTitle) != nullptr; }

bool TConsoleLinkClient::CompanionWindowSeen() {
    if (FindWindowA(link::kCompanionClass, link::kCompanionTitle) ||
        FindWindowA("ConsoleWindowClass", link::kCompanionTitle))
        return true;
    const ULONGLONG now = GetTickCount64();
    if (now < nextTitleSearch_) return false;
    if (CompanionWindowExists()) return true;
    nextTitleSearch_ = now + TitleSearchIntervalMs;
    return false;
}

}  // namespace kes
