#pragma once
// The runtime errors the program's code reports, numbered as the code that handles them expects.
#include <stdexcept>
#include <string>

namespace platform {

struct VbError : std::runtime_error {
    int number;
    VbError(int n, std::string description) : std::runtime_error(std::move(description)), number(n) {}
};

// The standard English text for an error number.
inline std::string vbErrorDescription(int number) {
    switch (number) {
        case 5:
            return "Invalid procedure call or argument";
        case 6:
            return "Overflow";
        case 7:
            return "Out of memory";
        case 9:
            return "Subscript out of range";
        case 11:
            return "Division by zero";
        case 13:
            return "Type mismatch";
        case 52:
            return "Bad file name or number";
        case 53:
            return "File not found";
        case 55:
            return "File already open";
        case 57:
            return "Device I/O error";
        case 58:
            return "File already exists";
        case 61:
            return "Disk full";
        case 62:
            return "Input past end of file";
        case 70:
            return "Permission denied";
        case 75:
            return "Path/File access error";
        case 76:
            return "Path not found";
        case 380:
            return "Invalid property value";
        case 424:
            return "Object required";
        case 429:
            return "ActiveX component can't create object";
        case 438:
            return "Object doesn't support this property or method";
        case 481:
            return "Invalid picture";
        default:
            return number < 0 ? "Automation error" : "Application-defined or object-defined error";
    }
}

[[noreturn]] inline void raise(int number) { throw VbError(number, vbErrorDescription(number)); }

}  // namespace platform
