#include "gpu/Kernels.cuh"

__global__ void scale(float* values, float factor) {}
