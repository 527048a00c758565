// The three sound effects, each a complete mono 16-bit PCM WAV image played
// from memory: a key click at 16 kHz and two footsteps at 24 kHz; and the
// list of cues the show issues them into.
#include "show/sounds.h"

#include "show/show.h"
#include "show/sound_data.h"

const SoundImage KeyClick{"KeyClick", KeyClickWav, KeyClickImageBytes};
const SoundImage FootstepA{"FootstepA", FootstepAWav, FootstepAImageBytes};
const SoundImage FootstepB{"FootstepB", FootstepBWav, FootstepBImageBytes};

void add_cue(SoundCues& cues, const SoundImage& sound) {
    if (cues.count < SoundCues::Capacity) cues.sounds[cues.count++] = &sound;
    else ++cues.dropped;
}
