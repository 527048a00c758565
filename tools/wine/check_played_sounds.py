#!/usr/bin/env python3
"""Finds the sounds a run played in what a recording sound device received.

usage: check_played_sounds.py RECORDING TRACE SOUND_DATA_CPP

RECORDING holds the raw samples every played sound sent to the device, one
after the other (see recording_asoundrc). Each sound cue of TRACE must be
found in it whole, in the order of the trace, as the samples of its image in
SOUND_DATA_CPP, with nothing but silence between them. Cues in the last
0.3 s of the trace may have been cut off when the program ended and are
not required. Exit code 0 when all that holds, 1 otherwise.
"""
import re
import sys

CUT_OFF_SECONDS = 0.3
MIN_CUES = 3


def sound_samples(source):
    """The sample bytes of each image in the generated source, by name."""
    text = open(source).read()
    images = re.findall(r'const uint8_t (\w+)Wav\[\d+\] = \{(.*?)\};', text, re.S)
    return {name: bytes(int(b, 16) for b in re.findall(r'0x([0-9A-Fa-f]{2})', body))[44:] for name, body in images}


def traced_cues(trace):
    """(name, seconds) of each cue, and the time of the last frame."""
    times = {}
    cues = []
    for line in open(trace):
        words = line.split()
        if words[:1] == ['frame']:
            times[words[1]] = int(words[3]) / 1000
        elif words[:1] == ['sound']:
            cues.append((words[2], words[1]))
    last = max(times.values())
    return [(name, times[frame]) for name, frame in cues], last


def main():
    recording = open(sys.argv[1], 'rb').read()
    cues, last = traced_cues(sys.argv[2])
    samples = sound_samples(sys.argv[3])
    due = [(name, t) for name, t in cues if t <= last - CUT_OFF_SECONDS]
    if len(due) < MIN_CUES:
        print(f'only {len(due)} sound cues in the trace; at least {MIN_CUES} are needed')
        return 1
    at = 0
    failures = 0
    for name, seconds in due:
        core = samples[name].strip(b'\0')
        found = recording.find(core, at)
        if found < 0:
            print(f'{name} of {seconds:.3f} s: not found whole after byte {at}')
            failures += 1
            continue
        if recording[at:found].strip(b'\0'):
            print(f'{name} of {seconds:.3f} s: other sound before it, bytes {at} to {found}')
            failures += 1
        at = found + len(core)
    print(f'{len(due) - failures} of {len(due)} cues recorded whole, in the order of the trace, '
          f'silence between ({len(recording)} bytes recorded)')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
