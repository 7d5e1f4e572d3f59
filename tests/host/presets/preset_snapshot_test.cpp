// A factory pattern as the editor shows it, loaded from its source through the
// module as a host loads it, against its golden picture.
#include <gtest/gtest.h>

#include "host/lib/editor_requests.h"
#include "host/lib/host.h"
#include "host/lib/presets/pattern_source.h"
#include "host/lib/presets/preset_host.h"
#include "tests/editor/golden.h"

TEST(PresetSnapshot, BrokenGrooveAsTheEditorDrawsIt) {
  zendrel::preset::Pattern pattern;
  std::string error;
  ASSERT_TRUE(zendrel::preset::readPatternFile(
      std::string(ZENDREL_FACTORY_SOURCES) + "/3-stutters-and-feels/09-broken-groove.pattern", pattern,
      error))
      << error;
  zendrel::host::Host host;
  ASSERT_TRUE(host.load(ZENDREL_MODULE_PATH)) << host.error();
  zendrel::preset::applyProgram(host, pattern.program);
  ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, nullptr), 1);
  host.dispatch(effEditIdle);
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(zendrel::host::snapshotEditor(host, 900, 550, pixels));
  host.dispatch(effEditClose);
  const zendrel::test::GoldenVerdict verdict =
      zendrel::test::compareWithGolden("preset_broken_groove", pixels, 900, 550);
  EXPECT_TRUE(verdict.same) << verdict.detail;
}
