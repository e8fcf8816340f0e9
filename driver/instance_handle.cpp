#include "driver/instance_handle.h"

HINSTANCE instanceHandle = nullptr;
