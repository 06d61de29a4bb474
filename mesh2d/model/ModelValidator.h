#pragma once
// One pass over freshly read model data, before anything uses it. A model is
// accepted only when every count its fields claim matches what the file holds:
// pivot tables with at least one pivot and a value array of that length; every
// per-combination list (affine states, grid and mesh point sets, draw orders,
// opacities) of the product of the pivot counts, that product at most 65535;
// grids of at least 1 x 1 whose coordinates an int can count; triangle
// indices below the point count and exactly 3 x the triangle count of them;
// fewer than 65535 drawables; bounded draw orders; only finite floats. Array lengths come from the reader's reference
// table, which recorded them while reading.
namespace mesh2d {

class BReader;
class BDAffine;
class BDBoxGrid;
class DDTexture;
class ModelImpl;
class PartsData;
class PivotManager;

class ModelValidator {
public:
    static constexpr long long MAX_COMBINATIONS = 65535;
    static constexpr int MAX_DRAWABLES = 65534;
    // A grid's coordinate count must fit the int the per-frame code indexes with.
    static constexpr int MAX_GRID_COORDINATES = 0x7FFFFFFF;

    explicit ModelValidator(BReader& br) : br_(br) {}

    bool validate(const ModelImpl* model);
    // Why the model was refused ("" when it was not).
    const char* getMessage() const { return message_; }
    // The range of the model's pivot draw orders (valid after a successful validate).
    int getMinDrawOrder() const { return minOrder_; }
    int getMaxDrawOrder() const { return maxOrder_; }

private:
    bool refuse(const char* format, ...) __attribute__((format(printf, 2, 3)));
    bool checkParams(const ModelImpl* model);
    bool checkPart(const PartsData* part);
    bool checkPivots(const PivotManager* pm, const char* owner, long long* combinations);
    bool checkAffine(const BDAffine* affine, const char* name);
    bool checkGrid(const BDBoxGrid* grid, const char* name);
    bool checkTexture(const DDTexture* texture, const char* name);
    template <typename V>
    bool checkCombinationList(const V* list, long long combinations, const char* what, const char* name);
    // The recorded element count of an array the reader returned, or -1.
    long long arrayCount(const void* array, int classNo);

    BReader& br_;
    int drawables_ = 0;
    int minOrder_ = 0;
    int maxOrder_ = 0;
    bool anyOrder_ = false;
    char message_[200] = "";
};

}  // namespace mesh2d
