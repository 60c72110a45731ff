#pragma once
// Fixed texts of the console companion and the plain text work on what it prints and sends.
#include <string>

namespace kes::tirvane {

// The two banner lines (red background, then attributes reset), each ended by CR LF.
std::string BannerText();

// Every CR becomes LF; nothing else changes (a CR LF prints as two line feeds).
void CrToLf(std::string& text);

// True for "*exit" in any letter case (only A-Z folded); "*exit " with a blank is an ordinary line.
bool IsExitCommand(const std::string& line);

// The WM_COPYDATA bytes of a typed line: the line, LF and a zero byte (cbData = line length + 2).
std::string TypedLinePayload(const std::string& line);

}  // namespace kes::tirvane
