#pragma once

#include "chime/ChimeReply.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class QProcess;

// The warning chime, played by the helper program beside the executable: the program never
// loads an audio library, and neither a wave file nor a sound server that hangs can hold up
// the warning. Whatever keeps the chime from playing comes back to `report`, in Czech.
class Chime {
  public:
    // How long the sound server may take to accept the first samples.
    static constexpr int StartDeadlineMs = 2000;

    Chime(QString helper, std::function<void(std::u16string_view)> report);
    ~Chime();
    Chime(const Chime&) = delete;
    Chime& operator=(const Chime&) = delete;

    // Starts playing the wave file and returns at once; a chime still playing is ended.
    void play(const QString& path);

  private:
    void readOutput();
    void finished(int exitCode, bool crashed);
    void report(const std::u16string& reason); // at most once for each helper

    QString helper_;
    std::function<void(std::u16string_view)> report_;
    QPointer<QProcess> current_;      // the helper of the latest warning; earlier ones say nothing
    std::optional<ChimeReply> reply_; // what the latest helper has said
    bool reported_ = false;           // its failure has been reported
};
