#pragma once
// The class library's exception: a class name and a message. Every error type of the program derives from it.
// Any thread may raise and catch these; showing one to the user is the GUI thread's work (base/win/Application.h).
#include <stdexcept>
#include <string>

namespace kes {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    // The class name as the class library shows it ("Exception", "EComPort", ...).
    virtual const char* ClassName() const { return "Exception"; }
    std::string Message() const { return what(); }
};

// Assigning a persistent object from an incompatible source.
class EConvertError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EConvertError"; }
};

// File and stream failures (string list load/save, ini file).
class EFOpenError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EFOpenError"; }
};

class EListError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EListError"; }
};

// Registry object failures: a value that cannot be written, or read as the asked type.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "ERegistryException"; }
};

// Ini-file object failures: a value that cannot be written, or text that the file format cannot hold.
class EIniFileException : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EIniFileException"; }
};

// Misuse of a thread object (waiting for a thread that never started, for one that frees itself, ...).
class EThread : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EThread"; }
};

// A system resource (a timer, a window) could not be had.
class EOutOfResources : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EOutOfResources"; }
};

// The silent exception: it unwinds like any other, but the application never shows it.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
    using Exception::Exception;
    const char* ClassName() const override { return "EAbort"; }
};

// The text of an exception's message box: the message, with a full stop added when its last character
// sorts after the full stop, compared as unsigned bytes: a letter, digit, "?" or ":" gets one; ".", "!", ")" do not.
inline std::string ExceptionDisplayText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

}  // namespace kes
