#pragma once
// Reads a whole model file: the "moc" header with its format version, the
// root object (which must be a ModelImpl), the end marker of version 8 and
// later, and then the one-pass model check. A file that fails anywhere is
// refused as a whole: nothing of it survives, every object read is freed
// exactly once, and the draw-order range is left as it was.
// Names kept from the phone client: see docs/GLOSSARY.md.
namespace mesh2d {

class ModelImpl;

class ModelFileLoader {
public:
    static constexpr int LOAD_OK = 0;
    static constexpr int LOAD_ERROR_VERSION = 2000;  // format version newer than the reader
    static constexpr int LOAD_ERROR_FILE = 2001;     // broken, truncated or refused file

    // 0 with the model in *out, or an error code with *out null. The reason is
    // reported through UtDebug.
    static int load(const void* buf, int bufSize, ModelImpl** out);
};

}  // namespace mesh2d
