// KestrupTirvane: the console companion of the terminal. It prints what the terminal forwards over the
// loopback link (the console shows the ANSI sequences) and sends typed lines back to the terminal.
#include <exception>
#include <memory>
#include <string>

#include "base/CompanionLink.h"
#include "base/Exception.h"
#include "console/CompanionText.h"
#include "console/RecvQueue.h"
#include "console/win/ConsoleIo.h"
#include "console/win/TcpServer.h"
#include "console/win/TerminalLink.h"
#include "console/win/Win.h"

using namespace kes::tirvane;

namespace {

// The longest pause of the idle loop; input and received text end it at once.
constexpr DWORD kIdleWaitMs = 100;

// Prints received text and forwards typed lines until "*exit" is typed.
void Serve(ConsoleInput& input, ConsoleOutput& output, RecvQueue& queue, HANDLE textReady) {
    for (;;) {
        bool exitTyped = false;
        if (input.KeyPressed()) {
            if (auto line = input.ReadLine()) {
                if (IsExitCommand(*line))
                    exitTyped = true;
                else
                    SendTypedLine(*line);
            }
        }
        std::string text = queue.TakeAll();
        if (!text.empty()) {
            CrToLf(text);
            output.Write(text);
        }
        if (exitTyped) return;
        HANDLE waits[2] = {input.WaitHandle(), textReady};
        if (WaitForMultipleObjects(2, waits, FALSE, kIdleWaitMs) == WAIT_FAILED) Sleep(kIdleWaitMs);
    }
}

int Run(ConsoleOutput& output) {
    output.EnableVirtualTerminal();
    output.Write(BannerText());

    WinsockSession winsock;
    auto queue = std::make_shared<RecvQueue>();
    HANDLE textReady = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    queue->OnPushed = [textReady] { SetEvent(textReady); };
    {
        TcpServer server(queue);
        server.Start(kes::link::kHost, kes::link::kPort);
        // The terminal looks for this title before it connects: show it only once the server listens.
        output.SetTitle(kes::link::kCompanionTitle);
        CompanionWindow window;
        window.Open();
        ConsoleInput input;
        Serve(input, output, *queue, textReady);
        window.Close();
        server.Stop();
    }
    // textReady stays open: a worker that outlived a failed stop may still signal it.
    return 0;
}

}  // namespace

int main() {
    ConsoleOutput output;
    try {
        return Run(output);
    } catch (const kes::Exception& e) {
        output.Write(std::string(e.ClassName()) + ": " + e.Message() + "\r\n");
    } catch (const std::exception& e) {
        output.Write(std::string("Exception: ") + e.what() + "\r\n");
    }
    return 1;
}
