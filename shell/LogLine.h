#pragma once
// Log lines of the terminal: the time of day in the user's long time format, then the message.
#include <string>
#include <string_view>

namespace kes {

struct TTimeOfDay {
    int Hour = 0;    // 0-23
    int Minute = 0;
    int Second = 0;
};

// Formats with a Windows time picture (what the locale's long time format holds): h/hh hours 1-12,
// H/HH hours 0-23, m/mm minutes, s/ss seconds, t/tt the first letter / whole of the AM or PM designator,
// text in single quotes as it is ('' for a quote); other characters are copied.
std::string FormatTimeOfDay(const TTimeOfDay& time, std::string_view picture, std::string_view am = "AM",
                            std::string_view pm = "PM");

// time + message (the messages of the main window begin with a blank).
std::string LogLine(std::string_view time, std::string_view message);

}  // namespace kes
