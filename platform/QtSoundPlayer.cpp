// The sound module: plays the warning sound with Qt Multimedia.
#include "platform/SoundPlayer.h"

#include <QSoundEffect>
#include <QUrl>

#include <utility>

namespace {

class QtSoundPlayer final : public SoundPlayer {
  public:
    QtSoundPlayer() {
        QObject::connect(&effect_, &QSoundEffect::statusChanged, &effect_, [this] {
            if (effect_.status() == QSoundEffect::Error && onError_)
                onError_();
        });
    }

    void play(const QString& path, std::function<void()> onError) override {
        onError_ = std::move(onError);
        // Load the file afresh each time: the user may have replaced it since the last warning.
        effect_.stop();
        effect_.setSource(QUrl());
        effect_.setSource(QUrl::fromLocalFile(path));
        effect_.play();
    }

  private:
    QSoundEffect effect_;
    std::function<void()> onError_;
};

} // namespace

#if defined(_WIN32)
#define VESTREL_EXPORT __declspec(dllexport)
#else
#define VESTREL_EXPORT __attribute__((visibility("default")))
#endif

extern "C" VESTREL_EXPORT SoundPlayer* vestrel_create_sound_player() {
    return new QtSoundPlayer;
}
