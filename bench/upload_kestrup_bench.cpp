// Kestrup's side of the upload benchmark: the program's own windows (main window with its receive path, source
// window, log window) made as the program makes them, the port opened on the board, and one "Send all text to
// processor" of a source file timed from the click to the end of the upload. Beside the total it tells where a
// line's time goes, measured at the port from outside the windows: the write itself, the wait for the receive
// event that brings the answer's line end, the receive handler, and the rest (drain, display, next line).
//   upload_kestrup_bench COMn SOURCE_FILE [timer-drain]
// "timer-drain" leaves the draining of the receive queue to the main window's timer alone (for comparison).
#include <cstdio>

#include "base/win/Application.h"
#include "gui/Forms.h"
#include "serial/CPort.h"
#include "shell/Unit1.h"
#include "shell/Unit2.h"
#include "shell/Unit4.h"
#include "shell/win/SourceWindowStart.h"

using namespace kes;

namespace {

double NowMs() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Per-line times at the port, GUI thread only.
struct LineTimes {
    double writeStart = 0, writeDone = 0;
    int lines = 0, events = 0;
    double write = 0, toLineEndEvent = 0, handler = 0, rest = 0, drain = 0;
    double lineEndSeen = 0;  // end of the handler that saw the line end, 0 while none
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: upload_kestrup_bench COMn SOURCE_FILE\n");
        return 2;
    }
    int rc = 1;
    Guarded([&] {
        TApplication application;
        application.SetTitle("Kestrup");
        TKestrup* main = CreateForm<TKestrup>();
        TCustomForm* source = CreateSourceWindow();
        LOGform = CreateForm<TLOGform>();
        TComPort& port = *main->ComPort1;
        port.SetPort(argv[1]);
        port.SetBaudRate(br115200);
        port.OpenPort();
        std::string junk;
        port.ReceiveText(junk, 65536);
        SourceFile->LoadSource(argv[2]);
        LineTimes t;
        {
            TMainWindowAccess access = SourceFile->Access();
            if (argc > 3 && std::string(argv[3]) == "timer-drain") {
                access.DrainReceived = nullptr;
            } else {
                access.DrainReceived = [&t, drain = access.DrainReceived] {
                    const double start = NowMs();
                    drain();
                    t.drain += NowMs() - start;
                };
            }
            SourceFile->Connect(access);
        }
        application.ProcessMessages();

        TComLink link;
        link.OnTxActivity = [&](TObject*, bool starts) {
            if (!starts) return;
            t.writeStart = NowMs();
            if (t.lineEndSeen > 0) t.rest += t.writeStart - t.lineEndSeen;
            t.lineEndSeen = 0;
        };
        link.OnTxDone = [&](TObject*, const char*, int) {
            t.writeDone = NowMs();
            t.write += t.writeDone - t.writeStart;
            ++t.lines;
        };
        port.AttachLink(&link);
        const auto receive = port.OnRxChar;
        port.OnRxChar = [&](TObject* sender, int count) {
            const double start = NowMs();
            ++t.events;
            const intptr_t before = port.Tag;
            receive(sender, count);
            if (before != 1 && port.Tag == 1 && t.lineEndSeen == 0) {
                t.lineEndSeen = NowMs();
                t.toLineEndEvent += start - t.writeDone;
                t.handler += t.lineEndSeen - start;
            }
        };

        const double start = NowMs();
        SourceFile->Button1Click(SourceFile->Button1);
        const double ms = NowMs() - start;
        port.DetachLink(&link);

        const TItemStrings& log = LOGform->ListBox1->Items();
        const std::string last = log.Count() > 0 ? log[log.Count() - 1] : std::string();
        const double n = t.lines > 0 ? t.lines : 1;
        std::printf("per_line write %.2f to_line_end_event %.2f receive_handler %.2f rest %.2f, of it drain %.2f (ms; %d "
                    "lines, %d receive events)\n",
                    t.write / n, t.toLineEndEvent / n, t.handler / n, t.rest / n, t.drain / n, t.lines, t.events);
        std::printf("kestrup_ms %.1f last_log %s\n", ms, last.c_str());
        rc = last.find("Sourcefile parsing completed") != std::string::npos ? 0 : 1;
        port.ClosePort();
        delete LOGform;
        LOGform = nullptr;
        delete source;
        delete main;
        Screen().MainForm = nullptr;
    });
    return rc;
}
