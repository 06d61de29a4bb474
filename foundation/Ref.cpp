#include "foundation/Ref.h"

namespace RK {

void Ref::retain() { refCount_.fetch_add(1, std::memory_order_relaxed); }

void Ref::release() {
    // acq_rel so that every owner's writes happen before the destructor runs.
    if (refCount_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
}

}  // namespace RK
