#include "mesh2d/Mesh2D.h"

namespace mesh2d {
namespace {

int g_lastError = 0;

}  // namespace

int Mesh2D::getError() { return g_lastError; }
void Mesh2D::setError(int errorCode) { g_lastError = errorCode; }

}  // namespace mesh2d
