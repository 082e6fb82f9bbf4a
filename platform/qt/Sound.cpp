#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

#include "platform/qt/QtServices.h"
#include "platform/qt/QtSupport.h"

namespace platform::qt {

QtSound::QtSound() = default;
QtSound::~QtSound() = default;

void QtSound::play(const std::string& path) {
    if (current_) current_->stop();
    current_ = nullptr;
    const QString file = Q(path);
    if (!QFileInfo(file).isFile()) return;
    auto& effect = effects_[path];
    if (!effect) {
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl::fromLocalFile(file));
    }
    if (effect->status() == QSoundEffect::Error) return;
    current_ = effect.get();
    current_->play();
}

int QtSound::playing() const {
    int n = 0;
    for (const auto& [path, effect] : effects_) n += effect->isPlaying() ? 1 : 0;
    return n;
}

}  // namespace platform::qt
