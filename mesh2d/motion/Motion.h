#pragma once
// One track of a motion file: a name, a kind and one value per frame. A
// parameter track remembers the index of its parameter in the model it last
// drove, so the name is looked up once per model rather than every frame.
#include "mesh2d/memory/LDObject.h"
#include "mesh2d/type/LDString.h"
#include "mesh2d/type/LDVector.h"

namespace mesh2d {

class AMesh2DModel;
class MemoryParam;
class ModelContext;
class ParamID;

class Motion : public LDObject {
public:
    static constexpr int MOTION_TYPE_PARAM = 0;
    static constexpr int MOTION_TYPE_VISIBLE = 1;
    static constexpr int MOTION_TYPE_FADEIN = 2;
    static constexpr int MOTION_TYPE_FADEOUT = 3;
    static constexpr int MOTION_TYPE_LAYOUT_X = 100;
    static constexpr int MOTION_TYPE_LAYOUT_Y = 101;
    static constexpr int MOTION_TYPE_LAYOUT_ANCHOR_X = 102;
    static constexpr int MOTION_TYPE_LAYOUT_ANCHOR_Y = 103;
    static constexpr int MOTION_TYPE_LAYOUT_SCALE_X = 104;
    static constexpr int MOTION_TYPE_LAYOUT_SCALE_Y = 105;
    static constexpr int NO_FADE = -1;

    Motion(const char* name, int nameLength, int type, MemoryParam* param);
    ~Motion() override = default;

    Motion(const Motion&) = delete;
    Motion& operator=(const Motion&) = delete;

    const LDString& getName() const { return name_; }
    int getType() const { return type_; }
    LDVector<float>& values() { return values_; }
    const LDVector<float>& values() const { return values_; }
    int getValueCount() const { return values_.size(); }

    // -1 (NO_FADE): the track follows the motion's own fades.
    int getFadeInMsec() const { return fadeInMsec_; }
    void setFadeInMsec(int msec) { fadeInMsec_ = msec; }
    int getFadeOutMsec() const { return fadeOutMsec_; }
    void setFadeOutMsec(int msec) { fadeOutMsec_ = msec; }

    // The index of this track's parameter in `model`, creating it there when
    // the model lacks it; -1 when the store refuses.
    int getParamIndex(AMesh2DModel* model);

private:
    LDString name_;
    ParamID* paramId_ = nullptr;
    int cachedParamIndex_ = -1;
    ModelContext* cachedContext_ = nullptr;
    int cachedInitVersion_ = -1;
    LDVector<float> values_;
    int type_;
    int fadeInMsec_ = NO_FADE;
    int fadeOutMsec_ = NO_FADE;
};

}  // namespace mesh2d
