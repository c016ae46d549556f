// Arithmetic faults. An invalid operation (the square root of a negative number,
// an arcsine beyond +-1, a 16-bit overflow of the calendar arithmetic) abandons
// the computation in hand: it throws ArithmeticFault, which the window event that
// started the computation catches. The fix turns it into its message.
#pragma once
#include <stdexcept>
#include <string>

class ArithmeticFault : public std::runtime_error {
public:
    explicit ArithmeticFault(const std::string& what) : std::runtime_error(what) {}
};

// The descriptions the program shows for the faults.
inline constexpr const char* kFaultInvalidCall = "Invalid procedure call or argument";
inline constexpr const char* kFaultDivisionByZero = "Division by zero";
inline constexpr const char* kFaultOverflow = "Overflow";
