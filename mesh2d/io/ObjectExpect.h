#pragma once
// What a field of a stream class accepts. The reader checks the class number
// against it before it builds anything, so a file can never put an object of
// the wrong class where a field expects a given one, and a non-ID object
// reached a second time through a back-reference (it would get two owners and
// be deleted twice) is refused.
namespace mesh2d {

struct ObjectExpect {
    static constexpr int kMaxClasses = 4;
    int classes[kMaxClasses];
    int classCount;
    bool nullable;                  // classes 0, 16 and unknown >= 48 give null
    const ObjectExpect* elements;   // for object arrays (class 15): what each element accepts

    bool accepts(int classNo) const {
        for (int i = 0; i < classCount; ++i) {
            if (classes[i] == classNo) return true;
        }
        return false;
    }
};

// The fields of a model, as the stream classes read them.
namespace expect {
extern const ObjectExpect kModel;            // the root: a ModelImpl
extern const ObjectExpect kParamDefSet;
extern const ObjectExpect kParamDefList;     // object array of ParamDefFloat
extern const ObjectExpect kPartsList;        // object array of PartsData
extern const ObjectExpect kDeformerList;     // object array of BDAffine / BDBoxGrid
extern const ObjectExpect kDrawableList;     // object array of DDTexture
extern const ObjectExpect kPivotManager;
extern const ObjectExpect kPivotTable;       // object array of ParamPivots
extern const ObjectExpect kAffineStates;     // object array of AffineEnt
extern const ObjectExpect kPointSets;        // object array of float arrays
extern const ObjectExpect kFloatArray;
extern const ObjectExpect kIndexArray;       // class 25 (read as unsigned 16-bit)
extern const ObjectExpect kParamId;
extern const ObjectExpect kPartsId;
extern const ObjectExpect kBaseId;
extern const ObjectExpect kParentId;         // a BaseDataID or null (no parent)
extern const ObjectExpect kDrawId;
}  // namespace expect

}  // namespace mesh2d
