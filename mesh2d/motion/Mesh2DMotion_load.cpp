// The motion-file parser. The text is read line by line (a line ends at "\n"
// or "\r"): "#" lines are comments, "$key=value" lines settings, and
// "NAME=v0,v1,..." lines tracks. Nothing in the text can make the load fail:
// unreadable characters are skipped and unknown keys ignored.
#include <cstring>

#include "mesh2d/motion/Mesh2DMotion.h"
#include "mesh2d/motion/Motion.h"
#include "mesh2d/motion/MotionTextReader.h"
#include "mesh2d/util/UtDebug.h"

namespace mesh2d {

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool startsLine(char c) { return isLetter(c) || c == '_' || c == '$' || c == '#'; }

bool hasPrefix(const char* text, int length, const char* prefix) {
    const int n = static_cast<int>(std::strlen(prefix));
    return length >= n && std::memcmp(text, prefix, static_cast<size_t>(n)) == 0;
}

bool equals(const char* text, int length, const char* word) {
    return length == static_cast<int>(std::strlen(word)) && hasPrefix(text, length, word);
}

int findChar(const char* text, int pos, int end, char c) {
    for (; pos < end; ++pos) {
        if (text[pos] == c) return pos;
    }
    return -1;
}

// The kind a "LAYOUT:" key's rest names, or -1 for a rest the runtime does not know.
int layoutType(const char* rest, int length) {
    static const struct {
        const char* name;
        int type;
    } kLayouts[] = {
        {"ANCHOR_X", Motion::MOTION_TYPE_LAYOUT_ANCHOR_X}, {"ANCHOR_Y", Motion::MOTION_TYPE_LAYOUT_ANCHOR_Y},
        {"SCALE_X", Motion::MOTION_TYPE_LAYOUT_SCALE_X},   {"SCALE_Y", Motion::MOTION_TYPE_LAYOUT_SCALE_Y},
        {"X", Motion::MOTION_TYPE_LAYOUT_X},               {"Y", Motion::MOTION_TYPE_LAYOUT_Y},
    };
    for (const auto& layout : kLayouts) {
        if (hasPrefix(rest, length, layout.name)) return layout.type;
    }
    return -1;
}

void keepLast(float value, void* context) { *static_cast<float*>(context) = value; }

struct TrackSink {
    LDVector<float>* values;
    bool failed;
};

void appendValue(float value, void* context) {
    auto* sink = static_cast<TrackSink*>(context);
    if (!sink->failed && !sink->values->push_back(value)) sink->failed = true;
}

}  // namespace

class MotionFileParser {
public:
    MotionFileParser(const char* text, int length, Mesh2DMotion& motion)
        : text_(text), length_(length), motion_(motion) {}

    void parse() {
        int pos = 0;
        while (pos < length_) {
            int end = pos;
            while (end < length_ && text_[end] != '\n' && text_[end] != '\r') ++end;
            parseLine(pos, end);
            pos = end + 1;
        }
        finish();
    }

private:
    void parseLine(int pos, int end) {
        while (pos < end && !startsLine(text_[pos])) ++pos;
        if (pos >= end || text_[pos] == '#') return;
        const int eq = findChar(text_, pos, end, '=');
        if (eq < 0) return;
        if (text_[pos] == '$') parseSetting(pos, eq, end);
        else parseTrack(pos, eq, end);
    }

    void parseSetting(int pos, int eq, int end) {
        float value = -1.0f;
        MotionTextReader::readNumbers(text_, eq + 1, end, keepLast, &value);
        const char* key = text_ + pos;
        const int keyLength = eq - pos;
        if (equals(key, keyLength, "$fps")) {
            if (5.0f < value && value < 121.0f) motion_.fps_ = value;
        } else if (equals(key, keyLength, "$fadein")) {
            if (value >= 0.0f) motion_.setFadeIn(MotionTextReader::truncateToInt(value));
        } else if (equals(key, keyLength, "$fadeout")) {
            if (value >= 0.0f) motion_.setFadeOut(MotionTextReader::truncateToInt(value));
        }
    }

    void parseTrack(int pos, int eq, int end) {
        const char* key = text_ + pos;
        const int keyLength = eq - pos;
        const char* name = key;
        int nameLength = keyLength;
        int type = Motion::MOTION_TYPE_PARAM;
        if (hasPrefix(key, keyLength, "VISIBLE:")) {
            type = Motion::MOTION_TYPE_VISIBLE;
        } else if (hasPrefix(key, keyLength, "LAYOUT:")) {
            name += 7;
            nameLength -= 7;
            type = layoutType(name, nameLength);
            if (type < 0) return;
        } else if (hasPrefix(key, keyLength, "FADEIN:")) {
            name += 7;
            nameLength -= 7;
            type = Motion::MOTION_TYPE_FADEIN;
        } else if (hasPrefix(key, keyLength, "FADEOUT:")) {
            name += 8;
            nameLength -= 8;
            type = Motion::MOTION_TYPE_FADEOUT;
        }
        addTrack(name, nameLength, type, eq + 1, end);
    }

    void addTrack(const char* name, int nameLength, int type, int valuesPos, int end) {
        MemoryParam* param = motion_.getMemoryParam();
        if (param == nullptr || motion_.motions_ == nullptr) return;
        Motion* track = LD_NEW(param) Motion(name, nameLength, type, param);
        if (track == nullptr) return;
        TrackSink sink{&track->values(), false};
        const int count = MotionTextReader::readNumbers(text_, valuesPos, end, appendValue, &sink);
        // A track without values has no frame to sample: keeping it would
        // index values[-1] when the motion plays.
        if (count == 0 || sink.failed || !motion_.motions_->push_back(track)) {
            if (sink.failed) UtDebug::print("Mesh2DMotion#loadMotion() : no memory for the values of a track");
            delete track;
        }
    }

    void finish() {
        LDVector<Motion*>* tracks = motion_.motions_;
        if (tracks == nullptr) return;
        int maxLength = 0;
        for (Motion* track : *tracks) {
            if (track->getValueCount() > maxLength) maxLength = track->getValueCount();
        }
        motion_.maxLength_ = maxLength;
        motion_.durationMSec_ =
            MotionTextReader::truncateToInt(static_cast<float>(maxLength) * 1000.0f / motion_.fps_);
        applyFadeSettings(*tracks);
    }

    static bool isFadeSetting(const Motion* track) {
        return track->getType() == Motion::MOTION_TYPE_FADEIN || track->getType() == Motion::MOTION_TYPE_FADEOUT;
    }

    // Fade-setting tracks hand their first value to the parameter track of the
    // same name and are then dropped (also when no track has that name).
    static void applyFadeSettings(LDVector<Motion*>& tracks) {
        for (Motion* setting : tracks) {
            if (!isFadeSetting(setting)) continue;
            const int msec = MotionTextReader::truncateToInt(setting->values()[0]);
            for (Motion* track : tracks) {
                if (track->getType() != Motion::MOTION_TYPE_PARAM || track->getName() != setting->getName()) continue;
                if (setting->getType() == Motion::MOTION_TYPE_FADEIN) track->setFadeInMsec(msec);
                else track->setFadeOutMsec(msec);
            }
        }
        for (int i = tracks.size() - 1; i >= 0; --i) {
            if (!isFadeSetting(tracks[i])) continue;
            delete tracks[i];
            tracks.remove(i);
        }
    }

    const char* text_;
    int length_;
    Mesh2DMotion& motion_;
};

Mesh2DMotion* Mesh2DMotion::loadMotion(const void* buf, int bufSize) {
    auto* motion = new Mesh2DMotion();
    if (motion == nullptr) {
        UtDebug::error("Mesh2DMotion::loadMotion() : no memory for a motion");
        return nullptr;
    }
    if (buf != nullptr && bufSize > 0) {
        MotionFileParser(static_cast<const char*>(buf), bufSize, *motion).parse();
    } else {
        motion->maxLength_ = 0;
        motion->durationMSec_ = 0;
    }
    return motion;
}

}  // namespace mesh2d
