#pragma once
// Texts of the main window's status bar (panels 0-7).
#include <string>
#include <string_view>

namespace kes {

// Panels 0-4 from the port's settings, each named as the port's name functions give them.
struct TPortPanelTexts {
    std::string Device;    // 0: the port name
    std::string Speed;     // 1: "<speed> Baud"
    std::string Bits;      // 2: "<bits> Databits"
    std::string Parity;    // 3: "Parity <parity>"
    std::string StopBits;  // 4: "<stop bits> Stopbit(s)"
};
TPortPanelTexts PortPanelTexts(std::string_view port, std::string_view baudRateName, std::string_view dataBitsName,
                               std::string_view parityName, std::string_view stopBitsName);

inline constexpr const char* kVersionPanelText = "Version 4.5";  // panel 5
const char* PortStatePanelText(bool open);                       // panel 6
// Panel 7 is the board mode's StatusText.

}  // namespace kes
