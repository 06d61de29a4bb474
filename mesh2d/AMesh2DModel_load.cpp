#include "mesh2d/AMesh2DModel.h"
#include "mesh2d/ModelContext.h"
#include "mesh2d/io/ModelFileLoader.h"
#include "mesh2d/model/ModelImpl.h"

namespace mesh2d {

int AMesh2DModel::loadModel_exe(AMesh2DModel* model, const void* buf, int bufSize) {
    ModelImpl* data = nullptr;
    const int code = ModelFileLoader::load(buf, bufSize, &data);
    if (code != ModelFileLoader::LOAD_OK) {
        return code;
    }
    model->setModelImpl(data);  // deletes any previous model data
    if (model->getModelContext()) {
        model->getModelContext()->init();
    }
    return ModelFileLoader::LOAD_OK;
}

}  // namespace mesh2d
