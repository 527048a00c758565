#!/usr/bin/env python3
"""Synthesizes the demo's three sound effects and writes them as C++ data.

Usage: make_sounds.py OUTPUT.cpp [--wav-dir DIR]

The key click and the two footsteps are built from damped resonances and
filtered noise. The noise comes from a fixed linear congruential generator,
so every run writes the same bytes. With --wav-dir the three images are also
written as .wav files to listen to.
"""

import argparse
import math
import os
import struct

# name, sample rate, number of samples (the sizes the program relies on)
SOUNDS = [
    ("KeyClick", 16000, 2171),
    ("FootstepA", 24000, 3350),
    ("FootstepB", 24000, 3262),
]


class Noise:
    """Uniform noise in [-1, 1) from a 32-bit LCG, the same on every machine."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return (self.state >> 8) / float(1 << 23) - 1.0


def one_pole_lowpass(signal, rate, cutoff):
    a = math.exp(-2.0 * math.pi * cutoff / rate)
    out, y = [], 0.0
    for x in signal:
        y = (1.0 - a) * x + a * y
        out.append(y)
    return out


def add_resonance(buffer, rate, start, freq_start, freq_end, decay, amplitude, attack=0.0005):
    """A sine whose pitch glides from freq_start to freq_end, decaying exponentially."""
    phase = 0.0
    first = int(start * rate)
    for n in range(first, len(buffer)):
        t = (n - first) / rate
        envelope = math.exp(-t / decay) * min(1.0, t / attack if attack > 0 else 1.0)
        if envelope < 1e-5 and t > attack:
            break
        glide = math.exp(-t / (decay * 1.5))
        freq = freq_end + (freq_start - freq_end) * glide
        phase += 2.0 * math.pi * freq / rate
        buffer[n] += amplitude * envelope * math.sin(phase)


def add_noise_burst(buffer, rate, start, decay, amplitude, cutoff, noise, highpass=False, attack=0.0003):
    first = int(start * rate)
    length = min(len(buffer) - first, int(decay * 8 * rate))
    raw = [noise.next() for _ in range(length)]
    if highpass:
        raw = [raw[i] - (raw[i - 1] if i else 0.0) for i in range(length)]
    # two poles: a gentler, darker roll-off than one
    shaped = one_pole_lowpass(one_pole_lowpass(raw, rate, cutoff), rate, cutoff)
    for i in range(length):
        t = i / rate
        envelope = math.exp(-t / decay) * min(1.0, t / attack)
        buffer[first + i] += amplitude * envelope * shaped[i]


def finish(buffer, rate, peak=0.72, fade=0.008):
    """Scales to the peak, fades the tail to silence and ends exactly at 0."""
    top = max(abs(v) for v in buffer) or 1.0
    fade_len = int(fade * rate)
    out = []
    for n, v in enumerate(buffer):
        remaining = len(buffer) - 1 - n
        gain = min(1.0, remaining / fade_len)
        out.append(v / top * peak * gain)
    return out


def key_click(rate, count):
    b = [0.0] * count
    noise = Noise(0x4B43)
    # the switch snapping: a bright tick with a short metallic ring
    add_noise_burst(b, rate, 0.0, 0.0009, 3.0, 7000, noise, highpass=True)
    add_resonance(b, rate, 0.0, 3400, 3100, 0.0025, 0.5)
    add_resonance(b, rate, 0.0, 1250, 1100, 0.006, 0.35, attack=0.001)
    # the key cap bottoming out a moment later: duller and softer
    add_noise_burst(b, rate, 0.038, 0.0018, 0.45, 4000, noise, highpass=True)
    add_resonance(b, rate, 0.038, 2300, 2100, 0.004, 0.25)
    add_resonance(b, rate, 0.038, 520, 480, 0.009, 0.22, attack=0.001)
    return finish(b, rate, peak=0.7, fade=0.01)


def footstep(rate, count, seed, heel_pitch, toe_delay, grit):
    b = [0.0] * count
    noise = Noise(seed)
    # heel strike: a low thud falling in pitch, with the crunch of the sole
    add_resonance(b, rate, 0.002, heel_pitch, heel_pitch * 0.55, 0.022, 1.0, attack=0.003)
    add_resonance(b, rate, 0.002, heel_pitch * 2.7, heel_pitch * 2.0, 0.008, 0.3, attack=0.002)
    add_noise_burst(b, rate, 0.002, 0.010, 0.9 * grit, 1800, noise, attack=0.001)
    # the ball of the foot rolling down: softer, a little higher, more scuff
    add_resonance(b, rate, toe_delay, heel_pitch * 1.3, heel_pitch * 0.8, 0.015, 0.45, attack=0.003)
    add_noise_burst(b, rate, toe_delay, 0.014, 0.7 * grit, 2600, noise, attack=0.002)
    return finish(b, rate, peak=0.75, fade=0.015)


def synthesize(name, rate, count):
    if name == "KeyClick":
        return key_click(rate, count)
    if name == "FootstepA":
        return footstep(rate, count, 0xF00A, 118.0, 0.046, 1.0)
    return footstep(rate, count, 0xF00B, 96.0, 0.038, 1.3)


def wav_image(rate, samples):
    data = b"".join(struct.pack("<h", max(-32768, min(32767, int(round(v * 32767))))) for v in samples)
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, rate, rate * 2, 2, 16)
    header += b"data" + struct.pack("<I", len(data))
    return header + data


def cpp_array(name, image):
    lines = ["extern const uint8_t %sWav[%d] = {" % (name, len(image))]
    for i in range(0, len(image), 16):
        lines.append("    " + ", ".join("0x%02X" % byte for byte in image[i:i + 16]) + ",")
    lines.append("};")
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output")
    parser.add_argument("--wav-dir")
    args = parser.parse_args()

    parts = [
        "// Generated by tools/make_sounds.py: the three sound effects as complete",
        "// RIFF/WAVE images (mono, 16-bit PCM). Regenerate rather than edit.",
        '#include "show/sound_data.h"',
        "",
    ]
    for name, rate, count in SOUNDS:
        image = wav_image(rate, synthesize(name, rate, count))
        parts.append(cpp_array(name, image))
        parts.append("")
        if args.wav_dir:
            os.makedirs(args.wav_dir, exist_ok=True)
            with open(os.path.join(args.wav_dir, name + ".wav"), "wb") as f:
                f.write(image)
    with open(args.output, "w") as f:
        f.write("\n".join(parts))


if __name__ == "__main__":
    main()
