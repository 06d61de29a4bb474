#include "mesh2d/io/ModelFileLoader.h"

#include "mesh2d/draw/IDrawData.h"
#include "mesh2d/io/BReader.h"
#include "mesh2d/io/FileFormat2.h"
#include "mesh2d/model/ModelImpl.h"
#include "mesh2d/model/ModelValidator.h"
#include "mesh2d/util/UtDebug.h"
#include "mesh2d/util/UtMemory.h"

namespace mesh2d {
namespace {

// Reads "moc" and the version byte; without the header the file is read from
// byte 0 as version 0. Returns the version, or -1 when the version is too new.
int readHeader(BReader& br) {
    ByteBuffer& bb = br.getByteBuffer();
    const unsigned char* data = bb.getData();
    if (bb.getSize() >= 3 && data[0] == 'm' && data[1] == 'o' && data[2] == 'c') {
        bb.setPosition(3);
        const int version = bb.readUnsignedByte();
        if (version > FileFormat2::MESH2D_FORMAT_VERSION_AVAILABLE) {
            UtDebug::error("Illegal data version ( available : %d < loaded :: %d )@AMesh2DModel#loadModel_exe()\n",
                           FileFormat2::MESH2D_FORMAT_VERSION_AVAILABLE, version);
            return -1;
        }
        return version;
    }
    UtDebug::error("Warning: Invalid model data or too old version @AMesh2DModel#loadModel_exe().\n");
    return 0;
}

int refuse(ModelImpl* model, const char* what, const char* reason) {
    UtDebug::error("%s ( %s ) @AMesh2DModel#loadModel_exe()\n", what, reason);
    delete model;
    return ModelFileLoader::LOAD_ERROR_FILE;
}

}  // namespace

int ModelFileLoader::load(const void* buf, int bufSize, ModelImpl** out) {
    *out = nullptr;
    BReader br(buf, bufSize);
    const int version = readHeader(br);
    if (version < 0) {
        return LOAD_ERROR_VERSION;
    }
    br.setFormatVersion(version);

    auto* model = br.readSerializable<ModelImpl>(UtMemory::getTmpMemoryParam(), expect::kModel);
    if (br.hasError()) {
        return refuse(model, "Load Model Error", br.getErrorText());
    }
    if (version >= FileFormat2::MESH2D_FORMAT_VERSION_V2_8_TEX_OPTION) {
        const int marker = br.readInt();
        if (br.hasError() || marker != FileFormat2::MESH2D_FORMAT_EOF_VALUE) {
            UtDebug::error("Load Model EOF Check Error @AMesh2DModel#loadModel_exe() \n");
            delete model;
            return LOAD_ERROR_FILE;
        }
    }
    ModelValidator validator(br);
    if (!validator.validate(model)) {
        return refuse(model, "Refused model", validator.getMessage());
    }
    IDrawData::widenTotalOrder(validator.getMinDrawOrder(), validator.getMaxDrawOrder());
    *out = model;
    return LOAD_OK;
}

}  // namespace mesh2d
