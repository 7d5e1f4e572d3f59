#include "host/lib/demo_pattern.h"

#include "plugin/parameter_ids.h"

namespace zendrel::host {

std::vector<std::pair<int, float>> demoPattern() {
  std::vector<std::pair<int, float>> p;
  p.push_back({zendrel::kNumOfSteps, static_cast<float>(31 / 64.0)});  // 16 steps
  const float gates[16] = {1.0f, 0.35f, 0.8f, 0.3f, 1.0f, 0.5f, 0.75f, 0.0f,
                           0.95f, 0.4f, 0.7f, 0.25f, 0.9f, 0.6f, 1.0f, 0.2f};
  for (int k = 0; k < 16; ++k) p.push_back({zendrel::kGate + k, gates[k]});
  for (int k : {1, 5, 9, 13}) p.push_back({zendrel::kNoteLength + k, 0.1915f});  // 1/32 staccato
  p.push_back({zendrel::kAttack + 0, 0.1f});
  p.push_back({zendrel::kDecay + 0, 0.3f});
  p.push_back({zendrel::kAttack + 4, 0.5f});  // a triangle
  p.push_back({zendrel::kDecay + 4, 0.5f});
  p.push_back({zendrel::kDecay + 8, 0.6f});
  p.push_back({zendrel::kAttack + 12, 0.8f});
  p.push_back({zendrel::kMerge + 2, 1.0f});   // step 3 glides into step 4
  p.push_back({zendrel::kMerge + 10, 1.0f});  // step 11 into step 12
  p.push_back({zendrel::kMerge + 14, 1.0f});  // step 15 into step 16
  return p;
}

}  // namespace zendrel::host
