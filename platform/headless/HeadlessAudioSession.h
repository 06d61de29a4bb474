#pragma once
// The audio session of a desktop process: there is no system mixer policy
// to negotiate, so the category is kept as state for whoever asks.
#include "platform/AudioSession.h"

namespace platform::headless {

class HeadlessAudioSession final : public AudioSession {
public:
    bool setCategory(Category category) override {
        category_ = category;
        return true;
    }
    Category category() const override { return category_; }
    void setDelegate(AudioSessionDelegate* delegate) override { delegate_ = delegate; }
    AudioSessionDelegate* delegate() const override { return delegate_; }

private:
    Category category_ = Category::SoloAmbient;
    AudioSessionDelegate* delegate_ = nullptr;
};

}  // namespace platform::headless
