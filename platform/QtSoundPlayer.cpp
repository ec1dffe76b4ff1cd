// The sound module: plays the warning sound with Qt Multimedia.
#include "platform/SoundPlayer.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <QtEndian>

#include <utility>

namespace {

// Why a wave file holds no sound to play, or nothing when it looks playable: Qt Multimedia
// itself plays an empty, header-only or cut-off file as silence, without a word.
QString whyUnplayable(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Soubor %1 nelze otevřít.").arg(path);
    const QString damaged = QStringLiteral("Soubor %1 není platný zvukový soubor WAV.").arg(path);
    const QByteArray head = file.read(12);
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE")
        return damaged;
    bool format = false;
    for (;;) { // the chunks, up to the sound data
        const QByteArray chunk = file.read(8);
        if (chunk.size() < 8)
            return damaged;
        const quint32 size = qFromLittleEndian<quint32>(chunk.constData() + 4);
        if (chunk.startsWith("data")) {
            if (!format || size == 0)
                return damaged;
            if (file.size() - file.pos() < qint64(size))
                return QStringLiteral("Soubor %1 je neúplný: chybí část zvuku.").arg(path);
            return {};
        }
        format = format || chunk.startsWith("fmt ");
        if (!file.seek(file.pos() + size + (size & 1)))
            return damaged;
    }
}

class QtSoundPlayer final : public SoundPlayer {
  public:
    QtSoundPlayer() {
        QObject::connect(&effect_, &QSoundEffect::statusChanged, &effect_, [this] {
            if (effect_.status() == QSoundEffect::Error && onError_)
                onError_(QStringLiteral("Soubor %1 není platný zvukový soubor WAV "
                                        "nebo jej nelze přečíst.")
                             .arg(effect_.source().toLocalFile()));
        });
    }

    void play(const QString& path, std::function<void(const QString&)> onError) override {
        effect_.stop();
        if (QMediaDevices::audioOutputs().isEmpty())
            return onError(QStringLiteral("Počítač nemá žádný zvukový výstup."));
        if (const QString reason = whyUnplayable(path); !reason.isEmpty())
            return onError(reason);
        onError_ = std::move(onError);
        // Load the file afresh each time: the user may have replaced it since the last warning.
        effect_.setSource(QUrl());
        effect_.setSource(QUrl::fromLocalFile(path));
        effect_.play();
    }

  private:
    QSoundEffect effect_;
    std::function<void(const QString&)> onError_;
};

} // namespace

extern "C" __attribute__((visibility("default"))) SoundPlayer* vestrel_create_sound_player() {
    return new QtSoundPlayer;
}
