#pragma once
// The class library's exception: a class name and a message. Every error type of the program derives from it.
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

}  // namespace kes
