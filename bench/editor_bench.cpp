// The editor's costs on the user-interface thread, headless (the window
// system's own share is not measured): opening and first paint, an idle with
// nothing to do, an idle in which only the playing step moved (with the paint
// it asks for), and one step of a slider drag, each at display scales 1, 2 and
// 3, asked for with the content-scale call before the editor opens as a host
// asks. Figures from one run, the scaled ones also as ratios to scale 1;
// targets are printed beside them, nothing passes or fails.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "editor/zendrel_editor.h"
#include "plugin/model/zendrel.h"
#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"
#include "toolkit/frame.h"
#include "toolkit/scaling.h"

namespace {

using namespace Toolkit;

VstTimeInfo timeInfo;

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  if (opcode == audioMasterVersion) return kVstVersion;
  if (opcode == audioMasterGetTime) return reinterpret_cast<VstIntPtr>(&timeInfo);
  return 0;
}

// 120 beats per minute at 44.1 kHz: a sixteenth lasts 5512.5 samples.
constexpr double kStep = 5512.5;

// A host's content-scale call.
void askScale(Zendrel& effect, double scale) {
  effect.dispatcher(effVendorSpecific, kContentScaleIndex, kContentScaleValue, nullptr, float(scale));
}

// The editor's size in device pixels, as effEditGetRect answers it.
CPoint editorSize(Zendrel& effect) {
  ERect* rect = nullptr;
  effect.dispatcher(effEditGetRect, 0, 0, &rect, 0.0f);
  return rect ? CPoint(rect->right - rect->left, rect->bottom - rect->top) : CPoint(900, 550);
}

// What a window's back buffer would be: the editor's device pixels, which
// must be what effEditGetRect answers.
COffscreenContext* makeScreen(Zendrel& effect, CFrame* frame) {
  auto* screen = new COffscreenContext(frame, 900, 550, kBlackCColor, frame->getScaleFactor());
  const CPoint size = editorSize(effect);
  if (screen->getPixelWidth() != size.h || screen->getPixelHeight() != size.v) {
    std::fprintf(stderr, "editor_bench: the editor draws %d x %d pixels but says it is %d x %d\n",
                 screen->getPixelWidth(), screen->getPixelHeight(), int(size.h), int(size.v));
    std::exit(1);
  }
  return screen;
}

struct Editor {
  Zendrel effect{host, &createZendrelEditor};
  ZendrelEditor* editor = static_cast<ZendrelEditor*>(effect.getEditor());
  COffscreenContext* screen = nullptr;

  explicit Editor(double scale = 1.0) {
    timeInfo = VstTimeInfo{};
    timeInfo.sampleRate = 44100.0;
    timeInfo.tempo = 120.0;
    timeInfo.flags = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;
    effect.dispatcher(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    effect.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
    playAt(0.5 * kStep);
    askScale(effect, scale);
    effect.dispatcher(effEditOpen, 0, 0, nullptr, 0.0f);
    screen = makeScreen(effect, frame());
    effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    paint();
  }
  ~Editor() {
    screen->release();
    effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
  }
  CFrame* frame() const { return editor->getFrame(); }
  // One frame of audio at song position `samples`: the engine publishes it.
  void playAt(double samples) {
    timeInfo.samplePos = samples;
    timeInfo.ppqPos = samples / 22050.0;
    float l = 0, r = 0;
    float* io[] = {&l, &r};
    effect.processReplacing(io, io, 1);
  }
  // What a window would repaint: the area the idle asked for. Answers its
  // device pixels.
  int64_t paint() {
    if (!frame()->hasInvalidRect()) return 0;
    const CRect r = frame()->takeInvalidRect();
    frame()->drawRect(screen, r);
    const CRect device = scaling::toDevice(r, frame()->getScaleFactor());
    return int64_t(device.getWidth()) * device.getHeight();
  }
};

void openPaintAndClose(Zendrel& effect) {
  auto* editor = static_cast<ZendrelEditor*>(effect.getEditor());
  effect.dispatcher(effEditOpen, 0, 0, nullptr, 0.0f);
  auto* screen = makeScreen(effect, editor->getFrame());
  editor->getFrame()->drawRect(screen, CRect(0, 0, 900, 550));
  screen->release();
  effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
}

// The benchmarks' argument is the display scale.
double scaleOf(const benchmark::State& state) { return double(state.range(0)); }

void BM_OpenAndFirstPaint(benchmark::State& state) {
  Zendrel effect(host, &createZendrelEditor);
  askScale(effect, scaleOf(state));
  for (auto _ : state) openPaintAndClose(effect);
}

// Another instance's editor is open: its images are decoded already.
void BM_OpenAndFirstPaintBesideAnother(benchmark::State& state) {
  Editor other(scaleOf(state));
  Zendrel effect(host, &createZendrelEditor);
  askScale(effect, scaleOf(state));
  for (auto _ : state) openPaintAndClose(effect);
}

void BM_OpenOnly(benchmark::State& state) {
  Zendrel effect(host, &createZendrelEditor);
  askScale(effect, scaleOf(state));
  for (auto _ : state) {
    effect.dispatcher(effEditOpen, 0, 0, nullptr, 0.0f);
    effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
  }
}

void BM_DecodeImages(benchmark::State& state) {
  for (auto _ : state)
    for (const char* name : zendrel::editor::kImageNames) {
      auto* image = new CBitmap(name);
      benchmark::DoNotOptimize(image->getWidth());
      image->release();
    }
}

void BM_IdleNothingChanged(benchmark::State& state) {
  Editor e(scaleOf(state));
  for (auto _ : state) {
    e.effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    benchmark::DoNotOptimize(e.paint());
  }
}

void BM_IdleStepMoved(benchmark::State& state) {
  Editor e(scaleOf(state));
  int step = 0;
  int64_t pixels = 0;
  for (auto _ : state) {
    state.PauseTiming();
    step = (step + 1) % 32;
    e.playAt((step + 0.5) * kStep);
    state.ResumeTiming();
    e.effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    pixels += e.paint();
  }
  // On page 1 both strips change; on page 2 the hidden page strip is not painted.
  state.counters["pixels"] = benchmark::Counter(double(pixels), benchmark::Counter::kAvgIterations);
}

void BM_IdleStepMovedWithoutPaint(benchmark::State& state) {
  Editor e(scaleOf(state));
  int step = 0;
  for (auto _ : state) {
    state.PauseTiming();
    step = (step + 1) % 32;
    e.playAt((step + 0.5) * kStep);
    e.paint();
    state.ResumeTiming();
    e.effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
  }
}

void BM_SliderDragStep(benchmark::State& state) {
  Editor e(scaleOf(state));
  CFrame* frame = e.frame();
  frame->onMouseDown(CPoint(75, 150), kLeftButton);
  int y = 150;
  for (auto _ : state) {
    y = y == 150 ? 120 : 150;
    frame->onMouseMoved(CPoint(75, y), kLeftButton);
    e.effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    benchmark::DoNotOptimize(e.paint());
  }
  frame->onMouseUp(CPoint(75, y), 0);
}

void BM_SliderDragStepWithoutPaint(benchmark::State& state) {
  Editor e(scaleOf(state));
  CFrame* frame = e.frame();
  frame->onMouseDown(CPoint(75, 150), kLeftButton);
  int y = 150;
  for (auto _ : state) {
    y = y == 150 ? 120 : 150;
    frame->onMouseMoved(CPoint(75, y), kLeftButton);
    state.PauseTiming();
    e.effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    e.paint();
    state.ResumeTiming();
  }
  frame->onMouseUp(CPoint(75, y), 0);
}

BENCHMARK(BM_OpenAndFirstPaint)->Unit(benchmark::kMillisecond)->Arg(1)->Arg(2)->Arg(3);
BENCHMARK(BM_OpenAndFirstPaintBesideAnother)->Unit(benchmark::kMillisecond)->Arg(1)->Arg(2)->Arg(3);
BENCHMARK(BM_OpenOnly)->Unit(benchmark::kMillisecond)->Arg(1)->Arg(2)->Arg(3);
BENCHMARK(BM_DecodeImages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleNothingChanged)->Unit(benchmark::kMicrosecond)->Arg(1)->Arg(2)->Arg(3);
BENCHMARK(BM_IdleStepMoved)->Unit(benchmark::kMicrosecond)->Arg(1)->Arg(2)->Arg(3);
BENCHMARK(BM_IdleStepMovedWithoutPaint)->Unit(benchmark::kMicrosecond)->Arg(1)->Arg(2)->Arg(3);
BENCHMARK(BM_SliderDragStep)->Unit(benchmark::kMicrosecond)->Arg(1)->Arg(2)->Arg(3);
BENCHMARK(BM_SliderDragStepWithoutPaint)->Unit(benchmark::kMicrosecond)->Arg(1)->Arg(2)->Arg(3);

// Keeps each benchmark's real time per iteration (seconds) and its counters,
// by name and argument ("BM_IdleStepMoved/2").
class Collector : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> seconds;
  std::map<std::string, double> pixels;
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name != "median") continue;
      const std::string name =
          r.run_name.function_name + (r.run_name.args.empty() ? std::string() : "/" + r.run_name.args);
      seconds[name] = r.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);
      auto it = r.counters.find("pixels");
      if (it != r.counters.end()) pixels[name] = it->second.value;
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Collector c;
  benchmark::RunSpecifiedBenchmarks(&c);
  auto us = [&](const std::string& name) { return c.seconds.count(name) ? c.seconds[name] * 1e6 : 0.0; };
  auto at = [&](const char* name, int scale) { return us(std::string(name) + "/" + std::to_string(scale)); };
  std::printf("\nThe editor on its own thread, headless (one run):\n");
  std::printf("  open and first paint        %9.1f us  (open alone %.1f us; decoding all 14 images from nothing\n"
              "                                          takes %.1f us, but the background, which the editor\n"
              "                                          holds from its creation, is not decoded again)\n",
              at("BM_OpenAndFirstPaint", 1), at("BM_OpenOnly", 1), us("BM_DecodeImages"));
  std::printf("  the same beside another     %9.1f us  (= %.2f x alone: another instance's open editor\n"
              "  instance's open editor                  shares its decoded images)\n",
              at("BM_OpenAndFirstPaintBesideAnother", 1),
              at("BM_OpenAndFirstPaintBesideAnother", 1) / at("BM_OpenAndFirstPaint", 1));
  const double idle = at("BM_IdleNothingChanged", 1);
  std::printf("  idle, nothing changed       %9.2f us  = %.3f x the 20 us target%s\n", idle, idle / 20.0,
              idle < 20.0 ? "  (target met)" : "  (ABOVE TARGET)");
  std::printf("  idle, playing step moved    %9.1f us  (%.0f pixels repainted on average: the visible step\n"
              "                                          strips, 790 x 24 each; the idle itself %.1f us, the\n"
              "                                          rest is painting them)\n",
              at("BM_IdleStepMoved", 1), c.pixels["BM_IdleStepMoved/1"], at("BM_IdleStepMovedWithoutPaint", 1));
  std::printf("  one slider drag step        %9.1f us  (the edit through the effect's rules %.1f us, the rest is\n"
              "                                          the idle and repainting the slider)\n",
              at("BM_SliderDragStep", 1), at("BM_SliderDragStepWithoutPaint", 1));

  std::printf("\nAt display scales 2 and 3 (the content-scale call before opening), times and ratios to scale 1:\n");
  std::printf("  %-28s %10s %10s %8s %10s %8s\n", "", "1x us", "2x us", "2x/1x", "3x us", "3x/1x");
  const struct {
    const char* label;
    const char* name;
  } rows[] = {
      {"open and first paint", "BM_OpenAndFirstPaint"},
      {"  of it the open alone", "BM_OpenOnly"},
      {"  the same beside another's", "BM_OpenAndFirstPaintBesideAnother"},
      {"idle, nothing changed", "BM_IdleNothingChanged"},
      {"idle, playing step moved", "BM_IdleStepMoved"},
      {"  of it the idle alone", "BM_IdleStepMovedWithoutPaint"},
      {"one slider drag step", "BM_SliderDragStep"},
      {"  of it the edit alone", "BM_SliderDragStepWithoutPaint"},
  };
  for (const auto& row : rows) {
    const double one = at(row.name, 1), two = at(row.name, 2), three = at(row.name, 3);
    std::printf("  %-28s %10.2f %10.2f %8.2f %10.2f %8.2f\n", row.label, one, two, two / one, three, three / one);
  }
  {
    const double one = c.pixels["BM_IdleStepMoved/1"], two = c.pixels["BM_IdleStepMoved/2"],
                 three = c.pixels["BM_IdleStepMoved/3"];
    std::printf("  %-28s %10.0f %10.0f %8.2f %10.0f %8.2f\n", "step moved: pixels repainted", one, two, two / one, three,
                three / one);
  }
  double worstIdle = 0;
  for (int scale = 1; scale <= 3; ++scale) worstIdle = std::fmax(worstIdle, at("BM_IdleNothingChanged", scale));
  std::printf("  idle with nothing changed at its slowest scale: %.2f us = %.3f x the 20 us target%s\n", worstIdle,
              worstIdle / 20.0, worstIdle < 20.0 ? "  (target met)" : "  (ABOVE TARGET)");
  const double moved = at("BM_IdleStepMoved", 2) / at("BM_IdleStepMoved", 1);
  std::printf("  idle with the step moved at 2x: %.2f x its 1x time (target under 4 x%s)\n", moved,
              moved < 4.0 ? ", met" : ", ABOVE TARGET");
  benchmark::Shutdown();
  return 0;
}
