#pragma once

#include <exception>
#include <string>

// A run-time error that ends the program: a conversion that cannot be made or a value
// out of range. Thrown where it happens and reported by the guard at the event boundary.
class RuntimeError : public std::exception {
  public:
    static constexpr int Overflow = 6;
    static constexpr int TypeMismatch = 13;

    RuntimeError(int number, std::u16string value, std::u16string origin = {});

    int number() const { return number_; }
    // The Czech text shown to the user.
    std::u16string userMessage() const;
    const char* what() const noexcept override { return "Vestrel run-time error"; }

  private:
    int number_;
    std::u16string value_;
    std::u16string origin_;
};
