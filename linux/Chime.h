#pragma once

#include <QPointer>
#include <QString>

#include <functional>

class QProcess;

// The warning chime, played by the helper program beside the executable: the program never
// loads an audio library, and neither a wave file nor a sound server that hangs can hold up
// the warning. Whatever keeps the chime from playing comes back to `report`, in Czech.
class Chime {
  public:
    // How long the sound server may take to accept the first samples.
    static constexpr int StartDeadlineMs = 2000;
    // The most the helper may write: its lines name a file at most. More is no helper of ours.
    static constexpr int MaxOutputBytes = 16 * 1024;

    Chime(QString helper, std::function<void(const QString&)> report);
    ~Chime();
    Chime(const Chime&) = delete;
    Chime& operator=(const Chime&) = delete;

    // Starts playing the wave file and returns at once; a chime still playing is ended.
    void play(const QString& path);

  private:
    void readOutput();
    void heard(const QByteArray& line);
    void finished(int exitCode, bool crashed);
    void failedToStart();
    void report(const QString& reason); // at most once for each helper

    QString helper_;
    std::function<void(const QString&)> report_;
    QPointer<QProcess> current_; // the helper of the latest warning; earlier ones say nothing
    bool started_ = false;
    bool reported_ = false; // this helper's failure has been reported
    QByteArray output_;     // what the helper wrote after its last line end so far
    qint64 received_ = 0;   // all it wrote
    QString reason_;        // what the helper said it could not do
    QString passed_;        // the file as the helper was given it
    QString shown_;         // the file as the user knows it
};
