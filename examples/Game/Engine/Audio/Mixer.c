#include "Mixer.h"

static int rate;

void mixer_init(int sampleRate) { rate = sampleRate; }

void mixer_mix(short* out, int frames)
{
    for (int i = 0; i < frames; ++i)
        out[i] = 0;
}
