#include "serial/PortNames.h"

#include <array>
#include <climits>

#include "base/StringList.h"

namespace kes {

namespace {

constexpr std::array<const char*, BaudRateCount> kBaudNames = {"Custom", "110",    "300",    "600",   "1200",  "2400",
                                                               "4800",   "9600",   "14400",  "19200", "38400", "56000",
                                                               "57600",  "115200", "128000", "256000"};
constexpr std::array<int, BaudRateCount> kBaudSpeeds = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                                        14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
constexpr std::array<const char*, StopBitsCount> kStopNames = {"1", "1.5", "2"};
constexpr std::array<const char*, DataBitsCount> kDataNames = {"5", "6", "7", "8"};
constexpr std::array<const char*, ParityCount> kParityNames = {"None", "Odd", "Even", "Mark", "Space"};
constexpr std::array<const char*, FlowControlCount> kFlowNames = {"Hardware", "Software", "None", "Custom"};
constexpr std::array<const char*, DTRControlCount> kDtrNames = {"Disable", "Enable", "Handshake"};
constexpr std::array<const char*, RTSControlCount> kRtsNames = {"Disable", "Enable", "Handshake", "Toggle"};

template <typename E, size_t N>
std::string NameOf(const std::array<const char*, N>& table, E value) {
    size_t i = static_cast<size_t>(value);
    return i < N ? table[i] : "";
}

template <typename E, size_t N>
E FromName(const std::array<const char*, N>& table, const std::string& name, E fallback) {
    const std::string upper = UpperAZ(name);
    for (size_t i = 0; i < N; ++i)
        if (UpperAZ(table[i]) == upper) return static_cast<E>(i);
    return fallback;
}

}  // namespace

std::string BaudRateName(TBaudRate value) { return NameOf(kBaudNames, value); }
std::string StopBitsName(TStopBits value) { return NameOf(kStopNames, value); }
std::string DataBitsName(TDataBits value) { return NameOf(kDataNames, value); }
std::string ParityName(TParityBits value) { return NameOf(kParityNames, value); }
std::string FlowControlName(TFlowControl value) { return NameOf(kFlowNames, value); }
std::string DTRControlName(TDTRFlowControl value) { return NameOf(kDtrNames, value); }
std::string RTSControlName(TRTSFlowControl value) { return NameOf(kRtsNames, value); }
std::string YesNoName(bool value) { return value ? "Yes" : "No"; }

std::string CharSettingName(char value) {
    const int code = static_cast<unsigned char>(value);
    if (code >= 33 && code <= 127) return std::string(1, value);
    return "#" + std::to_string(code);
}

TBaudRate BaudRateFromName(const std::string& name) { return FromName(kBaudNames, name, br9600); }
TStopBits StopBitsFromName(const std::string& name) { return FromName(kStopNames, name, sbOneStopBit); }
TDataBits DataBitsFromName(const std::string& name) { return FromName(kDataNames, name, dbEight); }
TParityBits ParityFromName(const std::string& name) { return FromName(kParityNames, name, prNone); }
TFlowControl FlowControlFromName(const std::string& name) { return FromName(kFlowNames, name, fcCustom); }
TDTRFlowControl DTRControlFromName(const std::string& name) { return FromName(kDtrNames, name, dtrDisable); }
TRTSFlowControl RTSControlFromName(const std::string& name) { return FromName(kRtsNames, name, rtsDisable); }
bool YesNoFromName(const std::string& name) { return UpperAZ(name) == "YES"; }

char CharFromSettingName(const std::string& name) {
    if (name.empty()) return '\0';
    if (name[0] != '#' || name.size() == 1) return name[0];
    int code = 0;
    if (!ParseDecimal(name.substr(1), code)) return '\0';
    return static_cast<char>(static_cast<unsigned char>(code & 0xFF));
}

int BaudRateSpeed(TBaudRate value) {
    size_t i = static_cast<size_t>(value);
    return i < kBaudSpeeds.size() ? kBaudSpeeds[i] : 0;
}

bool ParseDecimal(const std::string& text, int& value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    long long n = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        n = n * 10 + (text[i] - '0');
        if (n > 2147483648LL) return false;
    }
    if (negative) n = -n;
    if (n > INT_MAX || n < INT_MIN) return false;
    value = static_cast<int>(n);
    return true;
}

void SortPortNames(std::vector<std::string>& names) {
    TStringList list;
    for (const std::string& n : names) list.Add(n);
    list.Sort();
    names = list.Items();
}

}  // namespace kes
