// Random edits through the module's setParameter, so the editing rules apply:
// the same kinds a user or automation makes.
#pragma once

#include "host/lib/host.h"
#include "plugin/parameter_ids.h"
#include "tests/support/rng.h"

namespace zendrel::test {

// One edit as a user or automation would make it.
inline void randomEdit(Rng& rng, zendrel::host::Host& host) {
  const int k = rng.below(32);
  switch (rng.below(9)) {
    case 0: host.setParameter(zendrel::kGate + k, rng.unit()); break;
    case 1: host.setParameter(zendrel::kAttack + k, rng.unit()); break;
    case 2: host.setParameter(zendrel::kDecay + k, rng.unit()); break;
    case 3: host.setParameter(zendrel::kMerge + k, rng.chance(50) ? 1.0f : 0.0f); break;
    case 4: host.setParameter(zendrel::kNoteLength + k, rng.unit()); break;
    case 5:
      host.setParameter(zendrel::kNlfIncrement + k, 1.0f);
      host.setParameter(zendrel::kNlfIncrement + k, 0.0f);
      break;
    case 6:
      host.setParameter(rng.chance(50) ? zendrel::kSfIncrement : zendrel::kSfDecrement, 1.0f);
      break;
    case 7: host.setParameter(rng.chance(50) ? zendrel::kNosIncrement : zendrel::kNosDecrement, 1.0f); break;
    default: host.setParameter(zendrel::kStepLength, rng.unit()); break;
  }
}


}  // namespace zendrel::test
