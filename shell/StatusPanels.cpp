#include "shell/StatusPanels.h"

namespace kes {

TPortPanelTexts PortPanelTexts(std::string_view port, std::string_view baudRateName, std::string_view dataBitsName,
                               std::string_view parityName, std::string_view stopBitsName) {
    TPortPanelTexts t;
    t.Device = port;
    t.Speed = std::string(baudRateName) + " Baud";
    t.Bits = std::string(dataBitsName) + " Databits";
    t.Parity = "Parity " + std::string(parityName);
    t.StopBits = std::string(stopBitsName) + " Stopbit(s)";
    return t;
}

const char* PortStatePanelText(bool open) { return open ? "COM Port Open" : "COM Port CLOSED"; }

}  // namespace kes
