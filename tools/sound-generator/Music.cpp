// The menu music: eight slow bars on a pentatonic tune, plucked over soft
// pads and a round bass, with a room around them. It is rendered with a
// tail that is folded back onto the start, so that the file loops without
// a seam.
#include "Sounds.h"

#include <algorithm>
#include <cmath>

namespace SoundGen
{

namespace
{
constexpr float kBeat = 1.0f; // 60 beats a minute
constexpr int kBars = 8;
constexpr float kLength = kBars * 4 * kBeat;
constexpr float kTail = 5.0f;

float midi(float note)
{
    return 440.0f * std::pow(2.0f, (note - 69) / 12);
}

Curve constant(float value)
{
    return [value](float) { return value; };
}

struct Chord
{
    float root;
    float notes[4];
};

// Two bars each: D add 9, B minor 7, G major 7, A suspended.
const Chord kChords[4] = {
    {38, {50, 57, 62, 66}},
    {35, {47, 54, 57, 62}},
    {31, {43, 50, 54, 59}},
    {33, {45, 52, 57, 62}},
};

struct Note
{
    float beat;
    float pitch;
};

const Note kTune[] = {
    {0, 74},    {1.5f, 71},  {2, 69},     {3, 66},     {4, 69},  {5.5f, 71},  {6, 74},  {8, 71},  {9, 69},
    {9.5f, 66}, {10, 64},    {11.5f, 66}, {12, 62},    {14, 66}, {15, 69},    {16, 71}, {17, 74}, {17.5f, 76},
    {18, 74},   {19, 71},    {20, 69},    {21.5f, 66}, {22, 69}, {23, 71},    {24, 76}, {25, 74}, {25.5f, 71},
    {26, 69},   {27.5f, 71}, {28, 69},    {29, 66},    {30, 64}, {30.5f, 62},
};
} // namespace

void menuMusic(Buffer& left, Buffer& right)
{
    const size_t total = static_cast<size_t>(samples(kLength + kTail));
    Buffer dryLeft(total, 0.0f), dryRight(total, 0.0f), send(total, 0.0f);

    // Pads: two slightly detuned saws per note, one on each side.
    const float chordLength = 8 * kBeat;
    for (int c = 0; c < 4; ++c)
    {
        const Chord& chord = kChords[c];
        float at = c * chordLength;
        Curve swell = ramp({{0, 0}, {1.5f, 1}, {chordLength - 0.5f, 0.85f}, {chordLength + 1.5f, 0}});
        for (float note : chord.notes)
        {
            for (int side = 0; side < 2; ++side)
            {
                float detune = side == 0 ? 1.0015f : 0.9985f;
                Buffer pad = saw(chordLength + 1.5f, constant(midi(note) * detune));
                applyFilter(pad, Biquad::lowPass(850, 0.6f));
                multiply(pad, swell);
                mixInto(side == 0 ? dryLeft : dryRight, pad, at, 0.05f);
                mixInto(send, pad, at, 0.02f);
            }
        }
        // The bass breathes on the first and third beat of each bar.
        for (int b = 0; b < 4; ++b)
        {
            Buffer bass = sine(2.2f, constant(midi(chord.root + 12)));
            multiply(bass, ramp({{0, 0}, {0.08f, 1}, {1.2f, 0.5f}, {2.2f, 0}}));
            float when = at + b * 2 * kBeat;
            mixInto(dryLeft, bass, when, 0.22f);
            mixInto(dryRight, bass, when, 0.22f);
        }
    }

    // The tune, plucked, wandering a little from side to side.
    int index = 0;
    for (const Note& n : kTune)
    {
        Buffer string = pluck(midi(n.pitch), 2.8f, 0.45f, 100 + index);
        multiply(string, ramp({{0, 1}, {2.3f, 1}, {2.8f, 0}}));
        float pan = 0.5f + 0.25f * std::sin(index * 1.3f);
        mixInto(dryLeft, string, n.beat * kBeat, 0.32f * (1 - pan) * 2);
        mixInto(dryRight, string, n.beat * kBeat, 0.32f * pan * 2);
        mixInto(send, string, n.beat * kBeat, 0.25f);
        ++index;
    }

    Buffer wetLeft, wetRight;
    dryLeft.resize(total, 0.0f);
    dryRight.resize(total, 0.0f);
    send.resize(total, 0.0f);
    reverb(send, wetLeft, wetRight, 1.0f, 0.86f);

    // Fold everything past the loop's end back onto its start.
    const size_t loop = static_cast<size_t>(samples(kLength));
    left.assign(loop, 0.0f);
    right.assign(loop, 0.0f);
    for (size_t i = 0; i < total; ++i)
    {
        left[i % loop] += dryLeft[i] + wetLeft[i];
        right[i % loop] += dryRight[i] + wetRight[i];
    }
    float peak = 0;
    for (size_t i = 0; i < loop; ++i)
        peak = std::max(peak, std::max(std::fabs(left[i]), std::fabs(right[i])));
    if (peak > 0)
        for (size_t i = 0; i < loop; ++i)
        {
            left[i] *= 0.6f / peak;
            right[i] *= 0.6f / peak;
        }
}

} // namespace SoundGen
