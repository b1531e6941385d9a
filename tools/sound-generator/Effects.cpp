// Interface sounds and the end-of-game jingles.
#include "Sounds.h"

#include <cmath>

namespace SoundGen
{

namespace
{
Curve constant(float value)
{
    return [value](float) { return value; };
}

// A struck bell: a few partials, the higher ones dying sooner.
Buffer bell(float frequency, float seconds, float decay)
{
    Buffer out;
    const float ratios[4] = {1.0f, 2.0f, 2.76f, 4.07f};
    const float gains[4] = {1.0f, 0.35f, 0.18f, 0.08f};
    for (int i = 0; i < 4; ++i)
    {
        Buffer partial = sine(seconds, constant(frequency * ratios[i]));
        multiply(partial, percussive(0.003f, decay / (1 + i)));
        mixInto(out, partial, 0, gains[i]);
    }
    return out;
}

Buffer withRoom(const Buffer& dry, float wet, float size)
{
    Buffer left, right;
    Buffer padded = dry;
    padded.resize(padded.size() + samples(0.6f), 0.0f);
    reverb(padded, left, right, wet, size);
    for (size_t i = 0; i < left.size(); ++i)
        left[i] = 0.5f * (left[i] + right[i]);
    return left;
}

Buffer finish(Buffer b, float peak)
{
    normalize(b, peak);
    fadeEnds(b, 0.003f);
    return b;
}
} // namespace

Buffer errorSound()
{
    Buffer out;
    const float notes[2] = {220.0f, 164.8f};
    for (int i = 0; i < 2; ++i)
    {
        Buffer tone = saw(0.2f, constant(notes[i]));
        applyFilter(tone, Biquad::lowPass(1100));
        Buffer sub = sine(0.2f, constant(notes[i] / 2));
        mixInto(tone, sub, 0, 0.5f);
        multiply(tone, ramp({{0, 0}, {0.008f, 1}, {0.12f, 0.8f}, {0.2f, 0}}));
        mixInto(out, tone, i * 0.17f);
    }
    return finish(out, 0.7f);
}

Buffer optionSound()
{
    Buffer out = sine(0.16f, ramp({{0, 880}, {0.05f, 1320}}));
    Buffer octave = sine(0.16f, ramp({{0, 1760}, {0.05f, 2640}}));
    mixInto(out, octave, 0, 0.2f);
    multiply(out, percussive(0.003f, 0.04f));
    return finish(out, 0.6f);
}

Buffer buttonClick()
{
    Buffer out = noiseBurst(0.05f, 3, Biquad::bandPass(3000, 1.5f), percussive(0.0005f, 0.004f));
    Buffer ping = sine(0.05f, constant(1800));
    multiply(ping, percussive(0.001f, 0.01f));
    mixInto(out, ping, 0, 0.5f);
    return finish(out, 0.6f);
}

Buffer menuClick()
{
    Buffer out = sine(0.3f, constant(760));
    multiply(out, percussive(0.001f, 0.03f));
    Buffer high = sine(0.3f, constant(1900));
    multiply(high, percussive(0.001f, 0.015f));
    mixInto(out, high, 0, 0.4f);
    mixInto(out, noiseBurst(0.02f, 5, Biquad::bandPass(1200, 2), percussive(0.0005f, 0.004f)), 0, 0.6f);
    mixInto(out, bell(1520, 0.3f, 0.12f), 0.01f, 0.15f);
    return finish(out, 0.6f);
}

Buffer pieceSelect()
{
    // A wooden token lifted off the board: a knock with a low thump.
    Buffer out = sine(0.22f, constant(520));
    multiply(out, percussive(0.001f, 0.05f));
    Buffer mode = sine(0.22f, constant(1350));
    multiply(mode, percussive(0.001f, 0.025f));
    mixInto(out, mode, 0, 0.5f);
    Buffer thump = sine(0.22f, ramp({{0, 180}, {0.08f, 110}}));
    multiply(thump, percussive(0.002f, 0.04f));
    mixInto(out, thump, 0, 0.7f);
    mixInto(out, noiseBurst(0.02f, 8, Biquad::bandPass(2500, 1), percussive(0.0005f, 0.003f)), 0, 0.4f);
    return finish(out, 0.7f);
}

Buffer winJingle()
{
    Buffer out;
    const float arpeggio[4] = {523.25f, 659.26f, 783.99f, 1046.5f};
    for (int i = 0; i < 4; ++i)
    {
        mixInto(out, bell(arpeggio[i], 0.9f, 0.35f), i * 0.12f, 0.6f);
        mixInto(out, pluck(arpeggio[i] / 2, 0.9f, 0.6f, 20 + i), i * 0.12f, 0.5f);
    }
    for (int i = 0; i < 4; ++i)
    {
        Buffer held = bell(arpeggio[i], 1.6f, 0.8f);
        mixInto(out, held, 0.6f, 0.45f);
    }
    Buffer bass = sine(1.6f, constant(130.81f));
    multiply(bass, percussive(0.01f, 0.6f));
    mixInto(out, bass, 0.6f, 0.5f);
    return finish(withRoom(out, 0.3f, 0.8f), 0.75f);
}

Buffer loseJingle()
{
    // Three falling steps and a long last note that wavers and sinks.
    Buffer out;
    const float notes[4] = {392.0f, 369.99f, 349.23f, 329.63f};
    const float lengths[4] = {0.32f, 0.32f, 0.32f, 1.1f};
    float at = 0;
    for (int i = 0; i < 4; ++i)
    {
        float length = lengths[i];
        Voice v;
        v.pitch =
            i < 3 ? constant(notes[i]) : ramp({{0, notes[i]}, {0.5f, notes[i]}, {length, notes[i] * 0.94f}});
        v.amplitude = ramp({{0, 0}, {0.03f, 1}, {length * 0.8f, 0.8f}, {length, 0}});
        v.formant1 = constant(700);
        v.formant2 = constant(1100);
        v.formantQ = 3;
        v.vibratoRate = 5;
        v.vibratoDepth = i < 3 ? 0.0f : 0.018f;
        v.seed = 30 + i;
        mixInto(out, voice(length, v), at);
        at += length;
    }
    applyFilter(out, Biquad::lowPass(1800));
    return finish(withRoom(out, 0.25f, 0.75f), 0.7f);
}

} // namespace SoundGen
