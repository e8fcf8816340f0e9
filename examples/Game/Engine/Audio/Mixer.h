#pragma once

#ifdef __cplusplus
extern "C" {
#endif

void mixer_init(int sampleRate);
void mixer_mix(short* out, int frames);

#ifdef __cplusplus
}
#endif
