// Included by every test that drives a module through the test host: a
// request naming a parameter index the module did not declare (edit begin or
// end, automation) fails the test that caused it, whichever module sent it.
#pragma once

#include <gtest/gtest.h>

#include "host/lib/host.h"

namespace zendrel::test {

inline void failOnParameterIndexFault(const zendrel::host::Request& request) {
  ADD_FAILURE() << "the plug-in sent " << zendrel::host::Host::describeParameterIndexFault(request);
}

inline const bool kStrictHost =
    (zendrel::host::Host::setParameterIndexFaultHandler(&failOnParameterIndexFault), true);

}  // namespace zendrel::test
