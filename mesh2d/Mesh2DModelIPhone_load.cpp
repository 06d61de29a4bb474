#include "mesh2d/Mesh2D.h"
#include "mesh2d/Mesh2DModelIPhone.h"

namespace mesh2d {

Mesh2DModelIPhone* Mesh2DModelIPhone::loadModel(const void* buf, int bufSize) {
    auto* model = new Mesh2DModelIPhone();
    if (!model) {
        return nullptr;
    }
    const int code = loadModel_exe(model, buf, bufSize);
    if (code != 0) {
        Mesh2D::setError(code);
        delete model;
        return nullptr;
    }
    return model;
}

}  // namespace mesh2d
