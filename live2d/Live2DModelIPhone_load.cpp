#include "live2d/Live2D.h"
#include "live2d/Live2DModelIPhone.h"

namespace live2d {

Live2DModelIPhone* Live2DModelIPhone::loadModel(const void* buf, int bufSize) {
    auto* model = new Live2DModelIPhone();
    if (!model) {
        return nullptr;
    }
    const int code = loadModel_exe(model, buf, bufSize);
    if (code != 0) {
        Live2D::setError(code);
        delete model;
        return nullptr;
    }
    return model;
}

}  // namespace live2d
