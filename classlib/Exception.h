#pragma once

#include "AnsiString.h"

// The root of the class library's exceptions: carries the message that the application shows.
class Exception {
  public:
    explicit Exception(AnsiString message) : message_(std::move(message)) {}
    virtual ~Exception() = default;

    const AnsiString& Message() const { return message_; }

  private:
    AnsiString message_;
};

class EOutOfMemory : public Exception {
  public:
    EOutOfMemory() : Exception("Out of memory") {}
};
