#include "live2d/Live2D.h"

namespace live2d {
namespace {

int g_lastError = 0;

}  // namespace

int Live2D::getError() { return g_lastError; }
void Live2D::setError(int errorCode) { g_lastError = errorCode; }

}  // namespace live2d
