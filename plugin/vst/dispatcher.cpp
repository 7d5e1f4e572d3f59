// The base dispatcher, opcodes 0..24: each group of opcodes is answered by a
// short function of BaseDispatch, which the first switch that knows the
// opcode answers for.
#include <cmath>

#include "plugin/vst/audio_effect.h"
#include "plugin/vst/dispatch_call.h"
#include "plugin/vst/editor_base.h"

using zendrel::dispatch::fromBool;
using zendrel::dispatch::truncateToInt;

struct BaseDispatch {
  using Answer = std::optional<VstIntPtr>;

  // Opcodes that read or write through ptr do nothing with a null ptr.
  static bool needsPointer(VstInt32 opcode) {
    switch (opcode) {
      case effSetProgramName:
      case effGetProgramName:
      case effGetParamLabel:
      case effGetParamDisplay:
      case effGetParamName:
      case effEditGetRect:
      case effGetChunk:
      case effSetChunk:
        return true;
      default:
        return false;
    }
  }

  // Opening, closing, the audio settings and the deprecated level meter.
  static Answer setup(AudioEffect& fx, const DispatchCall& c) {
    switch (c.opcode) {
      case effOpen:
        fx.open();
        return 0;
      case effClose:
        fx.close();
        return 0;
      case effGetVu:
        return truncateToInt(static_cast<double>(fx.getVu()) * 32767.0);
      case effSetSampleRate:
        // A rate that is not a positive finite number would poison every length
        // derived from it; the previous rate stays.
        if (std::isfinite(c.opt) && c.opt > 0.0f) fx.setSampleRate(c.opt);
        return 0;
      case effSetBlockSize:
        fx.setBlockSize(static_cast<VstInt32>(c.value));
        return 0;
      case effMainsChanged:
        if (c.value != 0)
          fx.resume();
        else
          fx.suspend();
        return 0;
      default:
        return std::nullopt;
    }
  }

  // Program selection and names, and the program chunks.
  static Answer programs(AudioEffect& fx, const DispatchCall& c) {
    switch (c.opcode) {
      case effSetProgram:
        // Negative numbers are no program either: ignored like those too large.
        if (c.value >= 0 && c.value < fx.numPrograms) fx.setProgram(static_cast<VstInt32>(c.value));
        return 0;
      case effGetProgram:
        return fx.getProgram();
      case effSetProgramName:
        fx.setProgramName(static_cast<char*>(c.ptr));
        return 0;
      case effGetProgramName:
        fx.getProgramName(static_cast<char*>(c.ptr));
        return 0;
      case effGetChunk:
        return fx.getChunk(static_cast<void**>(c.ptr), c.index != 0);
      case effSetChunk:
        return fx.setChunk(c.ptr, static_cast<VstInt32>(c.value), c.index != 0);
      default:
        return std::nullopt;
    }
  }

  // A parameter's label, display text and name.
  static Answer parameterTexts(AudioEffect& fx, const DispatchCall& c) {
    switch (c.opcode) {
      case effGetParamLabel:
        fx.getParameterLabel(c.index, static_cast<char*>(c.ptr));
        return 0;
      case effGetParamDisplay:
        fx.getParameterDisplay(c.index, static_cast<char*>(c.ptr));
        return 0;
      case effGetParamName:
        fx.getParameterName(c.index, static_cast<char*>(c.ptr));
        return 0;
      default:
        return std::nullopt;
    }
  }

  // The editor's size, window and idle time; without an editor all answer 0.
  static Answer editor(AudioEffect& fx, const DispatchCall& c) {
    AEffEditor* editor = fx.editor;
    switch (c.opcode) {
      case effEditGetRect:
        return editor ? fromBool(editor->getRect(static_cast<ERect**>(c.ptr))) : 0;
      case effEditOpen:
        return editor ? fromBool(editor->open(c.ptr)) : 0;
      case effEditClose:
        if (editor) editor->close();
        return 0;
      case effEditIdle:
        if (editor) editor->idle();
        return 0;
      default:
        return std::nullopt;
    }
  }

  static Answer identify(AudioEffect&, const DispatchCall& c) {
    if (c.opcode == effIdentify) return fourCharCode('N', 'v', 'E', 'f');
    return std::nullopt;
  }
};

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
  static constexpr zendrel::dispatch::Group<AudioEffect> kGroups[] = {
      BaseDispatch::setup, BaseDispatch::programs, BaseDispatch::parameterTexts, BaseDispatch::editor,
      BaseDispatch::identify};
  if (!ptr && BaseDispatch::needsPointer(opcode)) return 0;
  return zendrel::dispatch::firstAnswer(kGroups, *this, DispatchCall{opcode, index, value, ptr, opt});
}
