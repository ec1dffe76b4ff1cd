#pragma once

#include <QString>

#include <exception>

// A run-time error that ends the program: a conversion that cannot be made or a value
// out of range. Thrown where it happens and reported by the guard at the event boundary.
class RuntimeError : public std::exception {
  public:
    static constexpr int Overflow = 6;
    static constexpr int TypeMismatch = 13;

    RuntimeError(int number, QString value, QString origin = {});

    int number() const { return number_; }
    // The Czech text shown to the user.
    QString userMessage() const;
    const char* what() const noexcept override { return "Vestrel run-time error"; }

  private:
    int number_;
    QString value_;
    QString origin_;
};
