#pragma once
// Building blocks of the sound generator: a seeded noise source, filters,
// oscillators driven by pitch curves, and a small reverb. Sounds are float
// buffers at 22050 Hz; every routine is deterministic.
#include <cstdint>
#include <functional>
#include <vector>

namespace SoundGen
{

constexpr int kRate = 22050;
constexpr float kPi = 3.14159265358979f;

using Buffer = std::vector<float>;
// A value over time, t in seconds from the start of the sound.
using Curve = std::function<float(float)>;

int samples(float seconds);

class Noise
{
public:
    explicit Noise(uint32_t seed) : mState(seed * 2891336453u + 12345u) {}
    // Uniform in -1..1.
    float next();

private:
    uint32_t mState;
};

// Second-order filter section (the usual cookbook forms).
class Biquad
{
public:
    static Biquad lowPass(float frequency, float q = 0.707f);
    static Biquad highPass(float frequency, float q = 0.707f);
    static Biquad bandPass(float frequency, float q);
    float process(float x);
    // Retunes a band-pass in place, keeping its state (moving formants).
    void setBandPass(float frequency, float q);

private:
    // 0 low-pass, 1 high-pass, 2 band-pass.
    void setCoefficients(int kind, float frequency, float q);
    float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// Piecewise-linear curve through (time, value) points, flat outside them.
Curve ramp(std::vector<std::pair<float, float>> points);
// Attack then exponential decay with the given time constant.
Curve percussive(float attack, float decay);

// Band-limited enough for our purposes: a sawtooth with a polynomial
// correction at each wrap.
Buffer saw(float seconds, const Curve& frequency);
Buffer sine(float seconds, const Curve& frequency);

// A vocal-tract style voice: a sawtooth source with vibrato and jitter,
// optional breath noise, through up to three moving band-pass formants,
// shaped by the amplitude curve. Roughness is an amplitude flutter (growls).
struct Voice
{
    Curve pitch;
    Curve amplitude;
    Curve formant1, formant2, formant3;
    float formantQ = 6;
    float breath = 0;       // share of noise in the source, 0..1
    float vibratoRate = 5;  // Hz
    float vibratoDepth = 0; // fraction of the pitch
    float roughRate = 0;    // Hz of the flutter
    float roughDepth = 0;   // 0..1
    uint32_t seed = 1;
};
Buffer voice(float seconds, const Voice& v);

// Filtered noise shaped by an amplitude curve.
Buffer noiseBurst(float seconds, uint32_t seed, Biquad filter, const Curve& amplitude);

// A plucked string (Karplus-Strong) of the given pitch and brightness.
Buffer pluck(float frequency, float seconds, float brightness, uint32_t seed);

// Mixing helpers: add src into dst at a time offset with a gain, growing
// dst when needed.
void mixInto(Buffer& dst, const Buffer& src, float at, float gain = 1);
void multiply(Buffer& b, const Curve& gain);
void applyFilter(Buffer& b, Biquad filter);
// Scales to the given peak (no change for silence).
void normalize(Buffer& b, float peak);
// Short fades at both ends, so that no sound starts or stops with a click.
void fadeEnds(Buffer& b, float seconds = 0.004f);

// A small stereo room: parallel combs into series all-passes, different
// delays per channel.
void reverb(const Buffer& in, Buffer& left, Buffer& right, float wet, float roomSize);

} // namespace SoundGen
