#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace SoundGen
{

int samples(float seconds)
{
    return std::max(0, static_cast<int>(std::lround(seconds * kRate)));
}

float Noise::next()
{
    mState = mState * 1664525u + 1013904223u;
    return static_cast<float>(mState >> 8) / 8388608.0f - 1.0f;
}

namespace
{
struct Coefficients
{
    float b0, b1, b2, a0, a1, a2;
};

Coefficients cookbook(int kind, float frequency, float q)
{
    frequency = std::clamp(frequency, 10.0f, kRate * 0.45f);
    float w = 2 * kPi * frequency / kRate;
    float c = std::cos(w), alpha = std::sin(w) / (2 * q);
    switch (kind)
    {
    case 0: // low-pass
        return {(1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha};
    case 1: // high-pass
        return {(1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha};
    default: // band-pass, 0 dB peak
        return {alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha};
    }
}
} // namespace

Biquad Biquad::lowPass(float frequency, float q)
{
    Biquad f;
    f.setCoefficients(0, frequency, q);
    return f;
}

Biquad Biquad::highPass(float frequency, float q)
{
    Biquad f;
    f.setCoefficients(1, frequency, q);
    return f;
}

Biquad Biquad::bandPass(float frequency, float q)
{
    Biquad f;
    f.setBandPass(frequency, q);
    return f;
}

void Biquad::setBandPass(float frequency, float q)
{
    setCoefficients(2, frequency, q);
}

void Biquad::setCoefficients(int kind, float frequency, float q)
{
    Coefficients k = cookbook(kind, frequency, q);
    b0 = k.b0 / k.a0;
    b1 = k.b1 / k.a0;
    b2 = k.b2 / k.a0;
    a1 = k.a1 / k.a0;
    a2 = k.a2 / k.a0;
}

float Biquad::process(float x)
{
    float y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
}

Curve ramp(std::vector<std::pair<float, float>> points)
{
    return [points = std::move(points)](float t)
    {
        if (points.empty())
            return 0.0f;
        if (t <= points.front().first)
            return points.front().second;
        for (size_t i = 1; i < points.size(); ++i)
            if (t <= points[i].first)
            {
                float span = points[i].first - points[i - 1].first;
                float f = span > 0 ? (t - points[i - 1].first) / span : 1;
                return points[i - 1].second + (points[i].second - points[i - 1].second) * f;
            }
        return points.back().second;
    };
}

Curve percussive(float attack, float decay)
{
    return [attack, decay](float t)
    {
        if (t < 0)
            return 0.0f;
        if (t < attack)
            return t / attack;
        return std::exp(-(t - attack) / decay);
    };
}

Buffer saw(float seconds, const Curve& frequency)
{
    Buffer out(samples(seconds));
    float phase = 0;
    for (size_t i = 0; i < out.size(); ++i)
    {
        float dt = std::clamp(frequency(static_cast<float>(i) / kRate) / kRate, 0.0f, 0.45f);
        phase += dt;
        if (phase >= 1)
            phase -= 1;
        float value = 2 * phase - 1;
        // Polynomial smoothing of the step around the wrap.
        if (phase < dt)
        {
            float x = phase / dt;
            value -= x + x - x * x - 1;
        }
        else if (phase > 1 - dt)
        {
            float x = (phase - 1) / dt;
            value -= x * x + x + x + 1;
        }
        out[i] = value;
    }
    return out;
}

Buffer sine(float seconds, const Curve& frequency)
{
    Buffer out(samples(seconds));
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i)
    {
        phase += frequency(static_cast<float>(i) / kRate) / kRate;
        phase -= std::floor(phase);
        out[i] = static_cast<float>(std::sin(6.283185307179586 * phase));
    }
    return out;
}

Buffer voice(float seconds, const Voice& v)
{
    Noise noise(v.seed);
    Noise jitter(v.seed + 7);
    float wobble = 0;
    Curve pitch = [&](float t)
    {
        float vibrato = 1 + v.vibratoDepth * std::sin(2 * kPi * v.vibratoRate * t);
        return v.pitch(t) * vibrato * (1 + 0.01f * wobble);
    };
    // The jitter wanders slowly rather than per sample.
    Buffer source(samples(seconds));
    {
        float phase = 0;
        for (size_t i = 0; i < source.size(); ++i)
        {
            float t = static_cast<float>(i) / kRate;
            wobble = wobble * 0.995f + 0.05f * jitter.next();
            float dt = std::clamp(pitch(t) / kRate, 0.0f, 0.45f);
            phase += dt;
            if (phase >= 1)
                phase -= 1;
            float value = 2 * phase - 1;
            if (phase < dt)
            {
                float x = phase / dt;
                value -= x + x - x * x - 1;
            }
            else if (phase > 1 - dt)
            {
                float x = (phase - 1) / dt;
                value -= x * x + x + x + 1;
            }
            source[i] = value * (1 - v.breath) + noise.next() * v.breath;
        }
    }
    Biquad f1, f2, f3;
    Buffer out(source.size());
    float flutter = 0;
    Noise rough(v.seed + 13);
    for (size_t i = 0; i < out.size(); ++i)
    {
        float t = static_cast<float>(i) / kRate;
        // Retuning every few samples is plenty for moving formants.
        if (i % 16 == 0)
        {
            if (v.formant1)
                f1.setBandPass(v.formant1(t), v.formantQ);
            if (v.formant2)
                f2.setBandPass(v.formant2(t), v.formantQ);
            if (v.formant3)
                f3.setBandPass(v.formant3(t), v.formantQ);
        }
        float x = source[i];
        float y = 0;
        if (v.formant1)
            y += f1.process(x);
        if (v.formant2)
            y += 0.7f * f2.process(x);
        if (v.formant3)
            y += 0.4f * f3.process(x);
        if (!v.formant1 && !v.formant2 && !v.formant3)
            y = x;
        float gain = v.amplitude(t);
        if (v.roughDepth > 0)
        {
            flutter = flutter * 0.99f + 0.01f * rough.next();
            float am = 0.5f + 0.5f * std::sin(2 * kPi * v.roughRate * t * (1 + 2 * flutter));
            gain *= 1 - v.roughDepth * am;
        }
        out[i] = y * gain;
    }
    return out;
}

Buffer noiseBurst(float seconds, uint32_t seed, Biquad filter, const Curve& amplitude)
{
    Noise noise(seed);
    Buffer out(samples(seconds));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = filter.process(noise.next()) * amplitude(static_cast<float>(i) / kRate);
    return out;
}

Buffer pluck(float frequency, float seconds, float brightness, uint32_t seed)
{
    Noise noise(seed);
    int period = std::max(2, static_cast<int>(std::lround(kRate / frequency)));
    std::vector<float> line(period);
    // A softened excitation gives a rounder, plucked-silk tone.
    float previous = 0;
    for (float& s : line)
    {
        previous = previous * (1 - brightness) + noise.next() * brightness;
        s = previous;
    }
    Buffer out(samples(seconds));
    size_t index = 0;
    for (float& s : out)
    {
        size_t next = (index + 1) % line.size();
        float value = line[index];
        line[index] = 0.4985f * (value + line[next]);
        s = value;
        index = next;
    }
    return out;
}

void mixInto(Buffer& dst, const Buffer& src, float at, float gain)
{
    size_t offset = static_cast<size_t>(samples(at));
    if (dst.size() < offset + src.size())
        dst.resize(offset + src.size(), 0.0f);
    for (size_t i = 0; i < src.size(); ++i)
        dst[offset + i] += src[i] * gain;
}

void multiply(Buffer& b, const Curve& gain)
{
    for (size_t i = 0; i < b.size(); ++i)
        b[i] *= gain(static_cast<float>(i) / kRate);
}

void applyFilter(Buffer& b, Biquad filter)
{
    for (float& s : b)
        s = filter.process(s);
}

void normalize(Buffer& b, float peak)
{
    float highest = 0;
    for (float s : b)
        highest = std::max(highest, std::fabs(s));
    if (highest > 0)
        for (float& s : b)
            s *= peak / highest;
}

void fadeEnds(Buffer& b, float seconds)
{
    size_t n = std::min(b.size() / 2, static_cast<size_t>(samples(seconds)));
    for (size_t i = 0; i < n; ++i)
    {
        float g = static_cast<float>(i) / n;
        b[i] *= g;
        b[b.size() - 1 - i] *= g;
    }
}

namespace
{
class Comb
{
public:
    Comb(int length, float feedback) : mLine(length), mFeedback(feedback) {}
    float process(float x)
    {
        float y = mLine[mIndex];
        mDamped = y * 0.7f + mDamped * 0.3f;
        mLine[mIndex] = x + mDamped * mFeedback;
        mIndex = (mIndex + 1) % mLine.size();
        return y;
    }

private:
    std::vector<float> mLine;
    float mFeedback;
    float mDamped = 0;
    size_t mIndex = 0;
};

class AllPass
{
public:
    explicit AllPass(int length) : mLine(length) {}
    float process(float x)
    {
        float delayed = mLine[mIndex];
        float y = delayed - 0.5f * x;
        mLine[mIndex] = x + 0.5f * delayed;
        mIndex = (mIndex + 1) % mLine.size();
        return y;
    }

private:
    std::vector<float> mLine;
    size_t mIndex = 0;
};

Buffer room(const Buffer& in, int spread, float roomSize)
{
    const int combLengths[4] = {1116, 1188, 1277, 1356};
    const int allPassLengths[2] = {556, 441};
    std::vector<Comb> combs;
    for (int length : combLengths)
        combs.emplace_back((length + spread) / 2, roomSize);
    std::vector<AllPass> passes;
    for (int length : allPassLengths)
        passes.emplace_back((length + spread) / 2);
    Buffer out(in.size());
    for (size_t i = 0; i < in.size(); ++i)
    {
        float sum = 0;
        for (Comb& c : combs)
            sum += c.process(in[i] * 0.25f);
        for (AllPass& p : passes)
            sum = p.process(sum);
        out[i] = sum;
    }
    return out;
}
} // namespace

void reverb(const Buffer& in, Buffer& left, Buffer& right, float wet, float roomSize)
{
    Buffer l = room(in, 0, roomSize), r = room(in, 23, roomSize);
    left.assign(in.size(), 0.0f);
    right.assign(in.size(), 0.0f);
    for (size_t i = 0; i < in.size(); ++i)
    {
        left[i] = in[i] * (1 - wet) + l[i] * wet;
        right[i] = in[i] * (1 - wet) + r[i] * wet;
    }
}

} // namespace SoundGen
