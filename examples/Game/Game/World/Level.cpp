#include "Level.h"

bool Level::load(const char* name) { return name && *name; }
