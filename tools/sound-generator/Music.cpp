// The menu music: slow pentatonic tunes plucked over soft pads and a round
// bass, with a room around them. The menus play it once, so it is long
// enough that a player lingering in them does not notice its end: six
// sections of eight bars (the theme, its variation, a second theme, a quiet
// interlude of arpeggios, the second theme varied, the theme again) and a
// closing chord that fades to silence. It starts and ends in silence, so a
// restart joins without a click.
#include "Sounds.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace SoundGen
{

namespace
{
constexpr float kBeat = 1.0f; // 60 beats a minute
constexpr float kSectionLength = 32 * kBeat;
constexpr float kChordLength = 8 * kBeat;
constexpr float kCodaLength = 10.0f;
constexpr float kTail = 4.0f;

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

using Progression = std::array<Chord, 4>;

// Two bars each.
// D add 9, B minor 7, G major 7, A suspended.
const Progression kFirst = {
    {{38, {50, 57, 62, 66}}, {35, {47, 54, 57, 62}}, {31, {43, 50, 54, 59}}, {33, {45, 52, 57, 62}}}};
// G major 7, A, F sharp minor 7, B minor 7.
const Progression kSecond = {
    {{31, {43, 50, 54, 59}}, {33, {45, 52, 57, 61}}, {30, {42, 49, 54, 57}}, {35, {47, 54, 57, 62}}}};
// D 6/9, G, C (the flattened seventh of the key), A suspended.
const Progression kInterlude = {
    {{38, {50, 57, 62, 64}}, {31, {43, 50, 55, 59}}, {36, {48, 55, 60, 64}}, {33, {45, 52, 57, 62}}}};

struct Note
{
    float beat;
    float pitch;
};

const std::vector<Note> kTheme = {
    {0, 74},    {1.5f, 71},  {2, 69},     {3, 66},     {4, 69},  {5.5f, 71},  {6, 74},  {8, 71},  {9, 69},
    {9.5f, 66}, {10, 64},    {11.5f, 66}, {12, 62},    {14, 66}, {15, 69},    {16, 71}, {17, 74}, {17.5f, 76},
    {18, 74},   {19, 71},    {20, 69},    {21.5f, 66}, {22, 69}, {23, 71},    {24, 76}, {25, 74}, {25.5f, 71},
    {26, 69},   {27.5f, 71}, {28, 69},    {29, 66},    {30, 64}, {30.5f, 62},
};

const std::vector<Note> kSecondTheme = {
    {0, 71},  {1, 74},     {2, 78},  {4, 76},     {5, 74},  {6, 71},  {8, 73},     {9, 76},  {10, 81},
    {12, 78}, {13.5f, 76}, {14, 73}, {16, 73},    {17, 69}, {18, 66}, {19.5f, 69}, {20, 73}, {22, 76},
    {24, 74}, {25, 78},    {26, 81}, {27.5f, 78}, {28, 76}, {29, 74}, {30, 71},
};

// The same rhythm with some notes moved along the pentatonic scale, so a
// theme comes back recognisable but not repeated.
std::vector<Note> varied(const std::vector<Note>& tune, int seed)
{
    static const float kScale[] = {50, 52, 54, 57, 59, 62, 64, 66, 69, 71, 74, 76, 78, 81, 83, 86};
    std::vector<Note> out;
    for (size_t i = 0; i < tune.size(); ++i)
    {
        const float* at = std::lower_bound(std::begin(kScale), std::end(kScale), tune[i].pitch);
        int index = static_cast<int>(at - std::begin(kScale));
        int step = static_cast<int>((i * 7 + static_cast<size_t>(seed)) % 5) - 2; // -2..2
        if (i % 3 == 0)
            step = 0; // the strong notes stay
        index = std::clamp(index + (step > 0   ? 1
                                    : step < 0 ? -1
                                               : 0),
                           0, static_cast<int>(std::size(kScale)) - 1);
        out.push_back({tune[i].beat, kScale[index]});
        // Now and then a passing note before the next one.
        if (i + 1 < tune.size() && i % 4 == 1 && tune[i + 1].beat - tune[i].beat >= 1.0f)
            out.push_back(
                {tune[i].beat + 0.5f, kScale[std::min(index + 1, static_cast<int>(std::size(kScale)) - 1)]});
    }
    return out;
}

enum class Part
{
    Tune,
    Arpeggio
};

struct Section
{
    const Progression* chords;
    std::vector<Note> tune;
    Part voice;
    float padLevel;
    float bassLevel;
};

struct Mix
{
    Buffer dry;
    Buffer send;
};

void pads(Mix& mix, const Chord& chord, float at, float length, float level, const Curve& swell)
{
    for (float note : chord.notes)
    {
        // Two slightly detuned saws per note.
        for (float detune : {1.0015f, 0.9985f})
        {
            Buffer pad = saw(length, constant(midi(note) * detune));
            applyFilter(pad, Biquad::lowPass(850, 0.6f));
            multiply(pad, swell);
            mixInto(mix.dry, pad, at, 0.05f * level);
            mixInto(mix.send, pad, at, 0.02f * level);
        }
    }
}

void bass(Mix& mix, const Chord& chord, float at, float level)
{
    // It breathes on the first and third beat of each bar.
    for (int b = 0; b < 4; ++b)
    {
        Buffer tone = sine(2.2f, constant(midi(chord.root + 12)));
        multiply(tone, ramp({{0, 0}, {0.08f, 1}, {1.2f, 0.5f}, {2.2f, 0}}));
        mixInto(mix.dry, tone, at + b * 2 * kBeat, 0.22f * level);
    }
}

void pluckAt(Mix& mix, float pitch, float at, float gain, uint32_t seed)
{
    Buffer string = pluck(midi(pitch), 2.8f, 0.45f, seed);
    multiply(string, ramp({{0, 1}, {2.3f, 1}, {2.8f, 0}}));
    mixInto(mix.dry, string, at, 0.32f * gain);
    mixInto(mix.send, string, at, 0.25f * gain);
}

void renderSection(Mix& mix, const Section& section, float start, uint32_t seed)
{
    for (int c = 0; c < 4; ++c)
    {
        const Chord& chord = (*section.chords)[c];
        float at = start + c * kChordLength;
        Curve swell = ramp({{0, 0}, {1.5f, 1}, {kChordLength - 0.5f, 0.85f}, {kChordLength + 1.5f, 0}});
        pads(mix, chord, at, kChordLength + 1.5f, section.padLevel, swell);
        if (section.bassLevel > 0)
            bass(mix, chord, at, section.bassLevel);
        if (section.voice == Part::Arpeggio)
        {
            // Chord tones an octave up, rising then falling, half a beat apart.
            static const int kOrder[8] = {0, 1, 2, 3, 2, 1, 2, 3};
            for (int step = 0; step < 16; ++step)
            {
                float pitch = chord.notes[kOrder[step % 8]] + 12;
                float gain = (step % 4 == 0 ? 0.55f : 0.4f);
                pluckAt(mix, pitch, at + step * 0.5f * kBeat, gain,
                        seed + static_cast<uint32_t>(c * 16 + step));
            }
        }
    }
    uint32_t index = 0;
    for (const Note& n : section.tune)
    {
        pluckAt(mix, n.pitch, start + n.beat * kBeat, 1.0f, seed + 100 + index);
        ++index;
    }
}
} // namespace

Buffer menuMusic()
{
    const std::vector<Section> sections = {
        {&kFirst, kTheme, Part::Tune, 1.0f, 1.0f},
        {&kFirst, varied(kTheme, 3), Part::Tune, 0.9f, 1.0f},
        {&kSecond, kSecondTheme, Part::Tune, 1.0f, 1.0f},
        {&kInterlude, {}, Part::Arpeggio, 0.8f, 0.6f},
        {&kSecond, varied(kSecondTheme, 1), Part::Tune, 1.0f, 1.0f},
        {&kFirst, kTheme, Part::Tune, 1.0f, 1.0f},
    };
    const float coda = sections.size() * kSectionLength;
    const float total = coda + kCodaLength + kTail;
    Mix mix;
    mix.dry.assign(static_cast<size_t>(samples(total)), 0.0f);
    mix.send.assign(mix.dry.size(), 0.0f);
    uint32_t seed = 100;
    for (size_t s = 0; s < sections.size(); ++s, seed += 1000)
        renderSection(mix, sections[s], s * kSectionLength, seed);

    // The closing chord: D with its ninth, the bass and a last low D.
    const Chord home = kFirst[0];
    pads(mix, home, coda, kCodaLength, 1.0f, ramp({{0, 0}, {1.0f, 1}, {3.0f, 0.9f}, {kCodaLength, 0}}));
    Buffer low = sine(kCodaLength, constant(midi(home.root + 12)));
    multiply(low, ramp({{0, 0}, {0.08f, 1}, {kCodaLength, 0}}));
    mixInto(mix.dry, low, coda, 0.2f);
    pluckAt(mix, 62, coda, 1.0f, seed);
    pluckAt(mix, 74, coda + 0.5f, 0.7f, seed + 1);

    mix.dry.resize(static_cast<size_t>(samples(total)), 0.0f);
    mix.send.resize(mix.dry.size(), 0.0f);
    Buffer wetLeft, wetRight;
    reverb(mix.send, wetLeft, wetRight, 1.0f, 0.86f);
    Buffer out(mix.dry.size());
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = mix.dry[i] + 0.5f * (wetLeft[i] + wetRight[i]);
    // In from silence and out to silence: the room's last echoes are faded
    // away before the end, which is exactly zero.
    multiply(out, ramp({{0, 0}, {0.05f, 1}, {total - kTail, 1}, {total - 0.5f, 0}}));
    normalize(out, 0.6f);
    return out;
}

} // namespace SoundGen
