#pragma once

#include <utility>

#include <unistd.h>

// An open file descriptor, closed when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, reporting what the close says (a delayed write error).
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

  private:
    int fd_;
};
