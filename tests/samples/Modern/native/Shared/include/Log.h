#pragma once

void log(const char* text);
