#include "live2d/ALive2DModel.h"
#include "live2d/ModelContext.h"
#include "live2d/io/ModelFileLoader.h"
#include "live2d/model/ModelImpl.h"

namespace live2d {

int ALive2DModel::loadModel_exe(ALive2DModel* model, const void* buf, int bufSize) {
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

}  // namespace live2d
