#pragma once
// Shared steps of the deformers' per-frame work.
namespace mesh2d {

class BaseDataID;
class IBaseContext;
class IBaseData;
class ModelContext;
class PivotManager;

// Locates the parameters among the tables into the context's work area;
// returns the number of interpolating tables, or -1 (out of range) when the
// tables cannot be evaluated.
int preparePivots(ModelContext* mdc, PivotManager* pivotMgr, bool* outOfRange);

// Resolves (once, into *cachedIndex) and returns the parent deformer and its
// context; null after reporting `missingFormat` (which takes the parent's
// name) or an index outside the list.
IBaseData* findParent(ModelContext* mdc, BaseDataID* parentId, int* cachedIndex, const char* missingFormat,
                      IBaseContext** parentContext);

}  // namespace mesh2d
