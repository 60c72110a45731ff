#pragma once
// Readable names of the port's settings (storage, drop-down lists, the terminal's status bar) and their reverse.
#include <string>
#include <vector>

#include "serial/ComTypes.h"

namespace kes {

std::string BaudRateName(TBaudRate value);
std::string StopBitsName(TStopBits value);
std::string DataBitsName(TDataBits value);
std::string ParityName(TParityBits value);
std::string FlowControlName(TFlowControl value);
std::string DTRControlName(TDTRFlowControl value);
std::string RTSControlName(TRTSFlowControl value);
// "Yes" or "No".
std::string YesNoName(bool value);
// Codes 33 to 127 as the character itself, every other code as "#" and its decimal code.
std::string CharSettingName(char value);

// Reverse: the first name equal in upper case (A-Z) wins; no match gives the type's default.
TBaudRate BaudRateFromName(const std::string& name);          // br9600
TStopBits StopBitsFromName(const std::string& name);          // sbOneStopBit
TDataBits DataBitsFromName(const std::string& name);          // dbEight
TParityBits ParityFromName(const std::string& name);          // prNone
TFlowControl FlowControlFromName(const std::string& name);    // fcCustom
TDTRFlowControl DTRControlFromName(const std::string& name);  // dtrDisable
TRTSFlowControl RTSControlFromName(const std::string& name);  // rtsDisable
// True exactly for "YES" in any letter case.
bool YesNoFromName(const std::string& name);
// "" gives #0; "#" with a decimal number gives its low eight bits; a non-number after "#" gives #0;
// anything else gives its first character.
char CharFromSettingName(const std::string& name);

// Number of members of each named type (the drop-down lists walk them).
inline constexpr int BaudRateCount = 16, StopBitsCount = 3, DataBitsCount = 4, ParityCount = 5, FlowControlCount = 4,
                     DTRControlCount = 3, RTSControlCount = 4;

// The speed in bits per second that a member names; 0 for brCustom.
int BaudRateSpeed(TBaudRate value);

// Decimal integer text (optional sign, 32-bit range, no blanks); false when it is none.
bool ParseDecimal(const std::string& text, int& value);

// Sorts device names as the class library's string list does (A-Z folded), so "COM10" comes before "COM2".
void SortPortNames(std::vector<std::string>& names);

}  // namespace kes
