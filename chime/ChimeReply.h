#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What the program makes of one run of the chime helper (see ChimeProtocol): what it writes,
// line by line, and how it ends. Whatever keeps the chime from playing becomes one reason in
// Czech, naming the helper and the sound file as the user knows them.
class ChimeReply {
  public:
    // The most the helper may write: its lines name a file at most. More is no helper of ours.
    static constexpr std::size_t MaxOutputBytes = 16 * 1024;

    // `helper` as the user knows it; the file as the helper was given it (`passedFile`) and
    // as the user knows it (`shownFile`).
    ChimeReply(std::u16string helper, std::u16string passedFile, std::u16string shownFile);

    // Takes what the helper wrote. Returns why the helper must be stopped (it wrote more than
    // one of ours would), or nothing.
    std::u16string take(std::string_view bytes);
    // The helper said that the sound server has the first samples.
    bool started() const { return started_; }
    // Why the chime did not play, once the helper has ended with `status` (the signal that
    // ended it when `crashed`); nothing when it played.
    std::u16string ended(int status, bool crashed);
    // Why the chime did not play when the helper could not be started at all.
    std::u16string notStarted(bool helperExists) const;

  private:
    void heard(std::string_view line);

    std::u16string helper_;
    std::u16string passed_;
    std::u16string shown_;
    std::string pending_;      // what came after the last line end
    std::size_t received_ = 0; // all it wrote
    std::u16string reason_;    // what the helper said it could not do
    bool started_ = false;
};
