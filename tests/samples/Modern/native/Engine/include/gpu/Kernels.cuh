#pragma once

__global__ void scale(float* values, float factor);
