// SPDX-License-Identifier: GPL-3.0-or-later
// meldlux-make-sounds DIR: writes the default alert sounds, one per kind of event, into DIR.
// Short and distinct, so that a listener tells an alarm from a status by ear.
#include "tone_sequence.h"
#include "wav_file.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using meldlux::sounds::Tone;

struct Sound {
  const char* file;
  std::vector<Tone> tones;
};

const std::vector<Sound>& sounds() {
  static const std::vector<Sound> all = {
      // Alarm: the two tones of a German siren, twice.
      {"alarm.wav", {{440, 0.25}, {585, 0.25}, {440, 0.25}, {585, 0.25}}},
      // A vehicle's status: one short blip.
      {"status.wav", {{880, 0.12}}},
      // A text from the control centre: two rising beeps.
      {"text.wav", {{660, 0.1}, {0, 0.05}, {990, 0.14}}},
      // The control centre asks a vehicle to speak: three quick high beeps.
      {"sprechaufforderung.wav", {{1200, 0.08}, {0, 0.06}, {1200, 0.08}, {0, 0.06}, {1200, 0.08}}},
      // The alarm chain is broken: a low, falling pair, slow, unlike any alarm or status.
      {"stoerung.wav", {{520, 0.3}, {0, 0.08}, {350, 0.45}, {0, 0.2}, {520, 0.3}, {0, 0.08}, {350, 0.45}}},
  };
  return all;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: meldlux-make-sounds DIR\n");
    return 2;
  }
  constexpr int kSampleRate = 22050;
  for (const Sound& sound : sounds()) {
    const std::string path = std::string(argv[1]) + "/" + sound.file;
    if (!meldlux::sounds::writeWav(path, meldlux::sounds::render(sound.tones, kSampleRate, 0.6),
                                   kSampleRate)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
