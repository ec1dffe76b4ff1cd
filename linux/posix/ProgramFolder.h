#pragma once

#include <string>

// The folder the program runs from, where its settings file and sound are, and the claim one
// instance of a user makes on it.
class ProgramFolder {
  public:
    // Its path, found at the first call: always valid text, since a folder whose name is no
    // valid UTF-8, or is longer than a path may be, is reached through a descriptor of it
    // (/proc/self/fd/N), open for the whole run.
    const std::u16string& path();
    // Takes the folder for this instance. False when another running instance of the same
    // user has it: two counters must not share one settings file. A lock left by an
    // instance that died is taken over; where no lock can be made we run all the same.
    bool claim();

  private:
    std::u16string path_;
    int lock_ = -1; // flock()ed for the whole run; the kernel frees it at exit
};
