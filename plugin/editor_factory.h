// How the effect gets its editor. The model names no editor: whoever puts the
// product together (module/) hands the effect a factory, and the editor reads
// what it shows of the playing pattern through PatternPlayback, never through
// the effect's own class.
#pragma once

class AEffEditor;
class AudioEffect;

namespace zendrel {

// The playing pattern as the editor's step lights follow it; read on the
// editor's thread while the audio thread plays.
class PatternPlayback {
 public:
  // The position inside the pattern, in steps' time as the engine counts it.
  virtual double patternPosition() const = 0;
  // Where step index starts (0..32; 32 is the end of the last step).
  virtual double stepStart(int index) const = 0;

 protected:
  ~PatternPlayback() = default;
};

// Makes the editor of effect, which registers itself with it; null for none.
// playback lives as long as the effect.
using EditorFactory = AEffEditor* (*)(AudioEffect* effect, const PatternPlayback* playback);

}  // namespace zendrel
