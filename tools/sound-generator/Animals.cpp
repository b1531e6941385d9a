// The animals' sounds: a move (steps and a short call), an attack (the
// animal's threat and a blow) and a death (a falling, fading cry). Each
// animal has its own voice: squeaks for the Rat, mews for the Cat, a howl
// for the Wolf, barks for the Dog, the rasp of the Panther, the Tiger's
// chuff and roar, the Lion's deeper roar and the Elephant's trumpet.
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

// Footfalls: per step a filtered tap, and for heavy animals a low thud.
Buffer steps(float seconds, float rate, float tapFrequency, float weight, uint32_t seed)
{
    Buffer out;
    Noise jitter(seed);
    int count = static_cast<int>(seconds * rate);
    for (int i = 0; i < count; ++i)
    {
        float at = i / rate + 0.015f * jitter.next();
        if (at < 0)
            at = 0;
        float level = 0.7f + 0.3f * (i % 2);
        Buffer tap = noiseBurst(0.12f, seed + i, Biquad::bandPass(tapFrequency, 1.2f),
                                percussive(0.002f, 0.012f + 0.03f * weight));
        mixInto(out, tap, at, level * (1 - 0.5f * weight));
        if (weight > 0.3f)
        {
            float low = 40 + 80 * (1 - weight);
            Buffer thud = sine(0.35f, ramp({{0, low * 1.6f}, {0.1f, low}}));
            multiply(thud, percussive(0.004f, 0.05f + 0.12f * weight));
            mixInto(out, thud, at, level * weight * 1.4f);
        }
    }
    return out;
}

// A blow landing: a dull hit with a short noisy crack.
Buffer blow(float weight, uint32_t seed)
{
    Buffer out = sine(0.3f, ramp({{0, 160 - 80 * weight}, {0.12f, 60 - 20 * weight}}));
    multiply(out, percussive(0.002f, 0.06f + 0.06f * weight));
    mixInto(out,
            noiseBurst(0.08f, seed, Biquad::bandPass(1800 - 1000 * weight, 1), percussive(0.001f, 0.015f)), 0,
            0.6f);
    return out;
}

// A rat's squeak: a high whistle with a fast wobble.
Buffer squeak(float seconds, float from, float to, uint32_t seed)
{
    Voice v;
    v.pitch = ramp({{0, from}, {seconds * 0.3f, to}, {seconds, (from + to) / 2}});
    v.amplitude = ramp({{0, 0}, {0.01f, 1}, {seconds - 0.015f, 0.8f}, {seconds, 0}});
    v.formant1 = constant(to);
    v.formantQ = 2;
    v.vibratoRate = 38;
    v.vibratoDepth = 0.04f;
    v.seed = seed;
    return voice(seconds, v);
}

Buffer rat(int action)
{
    Buffer out;
    switch (action)
    {
    case 0:
        out = steps(0.7f, 14, 4200, 0, 1);
        mixInto(out, squeak(0.07f, 3300, 4300, 2), 0.1f, 0.6f);
        mixInto(out, squeak(0.06f, 3600, 4600, 3), 0.45f, 0.5f);
        break;
    case 1:
        for (int i = 0; i < 5; ++i)
            mixInto(out, squeak(0.08f, 3000 + 300 * i, 4200 + 250 * i, 10 + i), i * 0.09f, 0.8f);
        mixInto(out, blow(0, 4), 0.5f, 0.8f);
        break;
    default:
    {
        Voice v;
        v.pitch = ramp({{0, 4200}, {0.15f, 4500}, {0.7f, 1800}});
        v.amplitude = ramp({{0, 0}, {0.02f, 1}, {0.4f, 0.6f}, {0.7f, 0}});
        v.formant1 = ramp({{0, 4300}, {0.7f, 2000}});
        v.formantQ = 2;
        v.vibratoRate = 11;
        v.vibratoDepth = 0.05f;
        v.seed = 20;
        out = voice(0.7f, v);
        break;
    }
    }
    return out;
}

// A cat's mew: the mouth opens from "m" to "ow".
Buffer mew(float seconds, float low, float high, float closing, uint32_t seed)
{
    Voice v;
    v.pitch = ramp({{0, low}, {seconds * 0.35f, high}, {seconds, low * closing}});
    v.amplitude = ramp({{0, 0}, {0.04f, 0.8f}, {seconds * 0.4f, 1}, {seconds, 0}});
    v.formant1 = ramp({{0, 350}, {seconds * 0.4f, 950}, {seconds, 600}});
    v.formant2 = ramp({{0, 1900}, {seconds * 0.4f, 1700}, {seconds, 1000}});
    v.formant3 = constant(3000);
    v.formantQ = 5;
    v.vibratoRate = 6;
    v.vibratoDepth = 0.012f;
    v.breath = 0.05f;
    v.seed = seed;
    return voice(seconds, v);
}

Buffer cat(int action)
{
    Buffer out;
    switch (action)
    {
    case 0:
        out = steps(0.7f, 4, 700, 0.1f, 30);
        mixInto(out, mew(0.22f, 560, 700, 0.9f, 31), 0.05f, 0.7f);
        break;
    case 1:
        out = noiseBurst(0.45f, 32, Biquad::highPass(2800),
                         ramp({{0, 0}, {0.03f, 1}, {0.35f, 0.7f}, {0.45f, 0}}));
        mixInto(out, mew(0.55f, 480, 920, 0.7f, 33), 0.35f, 1.1f);
        mixInto(out, blow(0.1f, 34), 0.85f, 0.7f);
        break;
    default:
        out = mew(0.95f, 620, 720, 0.45f, 35);
        break;
    }
    return out;
}

// A growl or snarl: a low, breathy, fluttering voice.
Buffer growl(float seconds, float pitch, float f1, float f2, float rough, uint32_t seed)
{
    Voice v;
    v.pitch = ramp({{0, pitch * 0.9f}, {seconds * 0.3f, pitch * 1.1f}, {seconds, pitch * 0.85f}});
    v.amplitude = ramp({{0, 0}, {0.05f, 1}, {seconds * 0.8f, 0.8f}, {seconds, 0}});
    v.formant1 = constant(f1);
    v.formant2 = constant(f2);
    v.formantQ = 4;
    v.breath = 0.45f;
    v.roughRate = rough;
    v.roughDepth = 0.7f;
    v.seed = seed;
    return voice(seconds, v);
}

Buffer wolf(int action)
{
    Buffer out;
    switch (action)
    {
    case 0:
        out = steps(0.75f, 5, 1500, 0.2f, 40);
        mixInto(out, steps(0.75f, 5, 4500, 0, 41), 0.02f, 0.3f);
        mixInto(out, growl(0.25f, 120, 450, 1000, 18, 42), 0.25f, 0.5f);
        break;
    case 1:
        out = growl(0.55f, 140, 500, 1300, 35, 43);
        {
            Voice bark;
            bark.pitch = ramp({{0, 420}, {0.14f, 300}});
            bark.amplitude = ramp({{0, 0}, {0.01f, 1}, {0.14f, 0}});
            bark.formant1 = constant(650);
            bark.formant2 = constant(1400);
            bark.formantQ = 3;
            bark.breath = 0.3f;
            bark.seed = 44;
            mixInto(out, voice(0.14f, bark), 0.55f, 1.2f);
        }
        mixInto(out, blow(0.3f, 45), 0.72f, 0.7f);
        break;
    default:
    {
        // The howl rises, holds and sinks away.
        Voice v;
        v.pitch = ramp({{0, 460}, {0.25f, 600}, {0.7f, 560}, {1.3f, 280}});
        v.amplitude = ramp({{0, 0}, {0.15f, 1}, {0.8f, 0.8f}, {1.3f, 0}});
        v.formant1 = ramp({{0, 400}, {0.3f, 600}, {1.3f, 380}});
        v.formant2 = constant(900);
        v.formantQ = 5;
        v.vibratoRate = 5.5f;
        v.vibratoDepth = 0.02f;
        v.breath = 0.1f;
        v.seed = 46;
        out = voice(1.3f, v);
        break;
    }
    }
    return out;
}

Buffer bark(float pitch, uint32_t seed)
{
    Voice v;
    v.pitch = ramp({{0, pitch}, {0.04f, pitch * 1.1f}, {0.13f, pitch * 0.75f}});
    v.amplitude = ramp({{0, 0}, {0.008f, 1}, {0.06f, 0.8f}, {0.13f, 0}});
    v.formant1 = constant(750);
    v.formant2 = constant(1600);
    v.formant3 = constant(2600);
    v.formantQ = 3;
    v.breath = 0.35f;
    v.seed = seed;
    return voice(0.13f, v);
}

Buffer dog(int action)
{
    Buffer out;
    switch (action)
    {
    case 0:
        out = steps(0.7f, 6, 1800, 0.15f, 50);
        mixInto(out, bark(380, 51), 0.2f, 0.8f);
        break;
    case 1:
        for (int i = 0; i < 3; ++i)
            mixInto(out, bark(500 - 30 * i, 52 + i), i * 0.18f, 1.0f);
        mixInto(out, growl(0.4f, 160, 600, 1400, 30, 55), 0.55f, 0.7f);
        mixInto(out, blow(0.25f, 56), 0.8f, 0.7f);
        break;
    default:
    {
        Voice v;
        v.pitch = ramp({{0, 900}, {0.1f, 1000}, {0.8f, 420}});
        v.amplitude = ramp({{0, 0}, {0.02f, 1}, {0.5f, 0.6f}, {0.8f, 0}});
        v.formant1 = ramp({{0, 1000}, {0.8f, 600}});
        v.formant2 = constant(1800);
        v.formantQ = 4;
        v.vibratoRate = 7;
        v.vibratoDepth = 0.03f;
        v.breath = 0.1f;
        v.seed = 57;
        out = voice(0.8f, v);
        break;
    }
    }
    return out;
}

// The big cats share a shape of voice at different sizes.
struct BigCat
{
    float pitch;      // Hz of the roar
    float f1, f2, f3; // formants
    float rough;      // flutter rate
    float stepRate;   // footfalls a second
    float weight;     // 0 light .. 1 heavy
    float roarLength; // seconds
    uint32_t seed;
};

Buffer roar(const BigCat& cat, float seconds, float rise, float fall, float level)
{
    Voice v;
    v.pitch = ramp({{0, cat.pitch}, {seconds * 0.3f, cat.pitch * rise}, {seconds, cat.pitch * fall}});
    v.amplitude = ramp({{0, 0}, {seconds * 0.12f, level}, {seconds * 0.5f, level}, {seconds, 0}});
    v.formant1 = ramp({{0, cat.f1 * 0.8f}, {seconds * 0.3f, cat.f1}, {seconds, cat.f1 * 0.7f}});
    v.formant2 = constant(cat.f2);
    v.formant3 = constant(cat.f3);
    v.formantQ = 3.5f;
    v.breath = 0.4f;
    v.roughRate = cat.rough;
    v.roughDepth = 0.65f;
    v.seed = cat.seed;
    return voice(seconds, v);
}

Buffer bigCat(const BigCat& cat, int action, bool chuff, bool rasp)
{
    Buffer out;
    switch (action)
    {
    case 0:
        out = steps(0.75f, cat.stepRate, 350, cat.weight, cat.seed + 1);
        if (chuff)
        {
            // A friendly puff through the nose, twice.
            for (int i = 0; i < 2; ++i)
                mixInto(out,
                        noiseBurst(0.12f, cat.seed + 2 + i, Biquad::bandPass(320, 2),
                                   ramp({{0, 0}, {0.02f, 1}, {0.12f, 0}})),
                        0.2f + i * 0.14f, 1.2f);
        }
        else
        {
            mixInto(out, roar(cat, 0.35f, 1.05f, 0.9f, 0.6f), 0.2f);
        }
        break;
    case 1:
        if (rasp)
        {
            // The sawing call: breaths in and out, alternating in pitch.
            for (int i = 0; i < 4; ++i)
            {
                BigCat breath = cat;
                breath.pitch = cat.pitch * (i % 2 ? 0.8f : 1.0f);
                breath.seed = cat.seed + 10 + i;
                mixInto(out, roar(breath, 0.2f, 1.1f, 0.9f, i % 2 ? 0.7f : 1.0f), i * 0.21f);
            }
        }
        else
        {
            out = roar(cat, cat.roarLength, 1.4f, 0.8f, 1.0f);
        }
        mixInto(out, blow(cat.weight, cat.seed + 20), cat.roarLength * 0.85f, 0.8f);
        break;
    default:
        out = roar(cat, cat.roarLength * 1.1f, 1.05f, 0.45f, 0.8f);
        {
            Buffer sigh = noiseBurst(0.6f, cat.seed + 30, Biquad::bandPass(cat.f1, 1.5f),
                                     ramp({{0, 0}, {0.1f, 0.3f}, {0.6f, 0}}));
            mixInto(out, sigh, cat.roarLength * 0.9f, 0.8f);
        }
        break;
    }
    return out;
}

const BigCat kPanther{150, 600, 1400, 2600, 22, 3.5f, 0.4f, 0.85f, 60};
const BigCat kTiger{125, 560, 1000, 2400, 30, 3.0f, 0.6f, 1.0f, 70};
const BigCat kLion{95, 650, 1150, 2500, 40, 2.8f, 0.75f, 1.35f, 80};

Buffer elephant(int action)
{
    Buffer out;
    Voice trumpet;
    trumpet.formant1 = constant(900);
    trumpet.formant2 = constant(2200);
    trumpet.formant3 = constant(3300);
    trumpet.formantQ = 5;
    trumpet.breath = 0.15f;
    trumpet.roughRate = 50;
    trumpet.roughDepth = 0.3f;
    trumpet.seed = 90;
    switch (action)
    {
    case 0:
        out = steps(0.9f, 2.2f, 250, 1.0f, 91);
        {
            Buffer rumble = sine(0.9f, ramp({{0, 28}, {0.9f, 24}}));
            multiply(rumble, ramp({{0, 0}, {0.2f, 0.5f}, {0.9f, 0}}));
            mixInto(out, rumble, 0, 0.8f);
        }
        break;
    case 1:
        trumpet.pitch = ramp({{0, 380}, {0.12f, 560}, {0.6f, 520}, {0.9f, 470}});
        trumpet.amplitude = ramp({{0, 0}, {0.06f, 1}, {0.7f, 0.9f}, {0.9f, 0}});
        out = voice(0.9f, trumpet);
        mixInto(out, steps(0.5f, 4, 250, 1.0f, 92), 0.75f, 0.9f);
        mixInto(out, blow(1.0f, 93), 0.95f, 0.9f);
        break;
    default:
        trumpet.pitch = ramp({{0, 520}, {0.2f, 540}, {1.3f, 170}});
        trumpet.amplitude = ramp({{0, 0}, {0.06f, 1}, {0.8f, 0.7f}, {1.3f, 0}});
        trumpet.vibratoRate = 4;
        trumpet.vibratoDepth = 0.03f;
        out = voice(1.3f, trumpet);
        mixInto(out, blow(1.0f, 94), 1.15f, 0.8f);
        break;
    }
    return out;
}
} // namespace

Buffer animalSound(int rank, int action)
{
    Buffer out;
    switch (rank)
    {
    case 0:
        out = rat(action);
        break;
    case 1:
        out = cat(action);
        break;
    case 2:
        out = wolf(action);
        break;
    case 3:
        out = dog(action);
        break;
    case 4:
        out = bigCat(kPanther, action, false, true);
        break;
    case 5:
        out = bigCat(kTiger, action, true, false);
        break;
    case 6:
        out = bigCat(kLion, action, false, false);
        break;
    default:
        out = elephant(action);
        break;
    }
    // Nothing under 30 Hz reaches a speaker; it would only eat headroom.
    applyFilter(out, Biquad::highPass(30));
    normalize(out, 0.8f);
    fadeEnds(out, 0.004f);
    return out;
}

} // namespace SoundGen
