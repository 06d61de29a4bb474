#pragma once
// The table of stream class numbers and the factory of the classes that read
// their own payload.
// Names kept from the phone client: see docs/GLOSSARY.md.
namespace mesh2d {

class ISerializableV2;
class MemoryParam;

class FileFormat2 {
public:
    enum ClassNo : int {
        NULL_OBJECT = 0,
        LD_STRING = 1,
        LD_COLOR = 10,
        LD_RECTF_DOUBLE = 11,
        LD_RECTF = 12,
        LD_POINTF_DOUBLE = 13,
        LD_POINTF = 14,
        OBJECT_ARRAY = 15,
        NULL_OBJECT_16 = 16,
        LD_AFFINE_TRANSFORM = 17,
        LD_RECT = 21,
        LD_POINT = 22,
        NESTED_ARRAY = 23,
        ARRAY_INT = 25,
        ARRAY_DOUBLE = 26,
        ARRAY_FLOAT = 27,
        BACK_REFERENCE = 33,
        DRAW_DATA_ID = 50,
        BASE_DATA_ID = 51,
        PARAM_ID = 60,
        BD_BOX_GRID = 65,
        PIVOT_MANAGER = 66,
        PARAM_PIVOTS = 67,
        BD_AFFINE = 68,
        AFFINE_ENT = 69,
        DD_TEXTURE = 70,
        PARAM_DEF_FLOAT = 131,
        PARTS_DATA = 133,
        PARTS_DATA_ID = 134,
        MODEL_IMPL = 136,
        PARAM_DEF_SET = 137,
        AVATAR_PARTS_ITEM = 142,
    };

    // Newest format version the reader understands.
    static constexpr int MESH2D_FORMAT_VERSION_AVAILABLE = 10;
    // Versions that add fields: the mesh option flags and the end marker (8);
    // the affine reflect bytes and the deformers' pivot opacities (10).
    static constexpr int MESH2D_FORMAT_VERSION_V2_8_TEX_OPTION = 8;
    static constexpr int MESH2D_FORMAT_VERSION_V2_10_SDK2 = 10;
    static constexpr int MESH2D_FORMAT_EOF_VALUE = static_cast<int>(0x88888888u);

    // An empty object of a class that reads its own payload, or null for a
    // number that is not one (or when memory runs out).
    static ISerializableV2* createObject(MemoryParam* param, int classNo);

    static bool isIdClass(int classNo) {
        return classNo == DRAW_DATA_ID || classNo == BASE_DATA_ID || classNo == PARAM_ID ||
               classNo == PARTS_DATA_ID;
    }
    // Classes whose result is a plain memory block rather than an object.
    static bool isPlainArrayClass(int classNo) {
        return classNo == ARRAY_INT || classNo == ARRAY_DOUBLE || classNo == ARRAY_FLOAT;
    }
};

}  // namespace mesh2d
