#pragma once
// One frame of a motion on a model, on a set clock: the motion is started
// and updated at clock 0, then updated again at the chosen time. (A single
// update at that time would be the motion's first: elapsed 0, weight 0.)
#include <cstdint>
#include <vector>

namespace mesh2d {
class AMesh2DModel;
}

namespace rendermodel {

// Writes the motion's parameters into the model as they stand `atMSec` after
// its start. The runtime clock is left as it was found. False when the motion
// could not be made.
bool applyMotionFrame(mesh2d::AMesh2DModel* model, const std::vector<std::uint8_t>& motionBytes, int64_t atMSec);

}  // namespace rendermodel
