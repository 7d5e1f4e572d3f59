// Included by every test that drives a module through the test host: a
// request naming a parameter index the module did not declare (edit begin or
// end, automation) fails the test that caused it, whichever module sent it.
#pragma once

#include <gtest/gtest.h>

#include "host/lib/host.h"

namespace zendrel_test {

inline void failOnParameterIndexFault(const zhost::Request& request) {
  ADD_FAILURE() << "the plug-in sent " << zhost::Host::describeParameterIndexFault(request);
}

inline const bool kStrictHost =
    (zhost::Host::setParameterIndexFaultHandler(&failOnParameterIndexFault), true);

}  // namespace zendrel_test
