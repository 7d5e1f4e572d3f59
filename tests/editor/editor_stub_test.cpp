// The effect with its real editor: until the window host exists the editor only
// reports its size and refuses to open.
#include <gtest/gtest.h>

#include "editor/zendrel_editor.h"
#include "plugin/model/zendrel.h"
#include "tests/support/quiet_host.h"

using zendrel_test::quietHost;

TEST(EditorStub, ReportsItsSizeAndDoesNotOpenYet) {
  Zendrel effect(quietHost);
  AEffect* record = effect.getAeffect();
  ASSERT_NE(dynamic_cast<ZendrelEditor*>(effect.getEditor()), nullptr);
  EXPECT_TRUE(record->flags & effFlagsHasEditor);

  ERect* rect = nullptr;
  EXPECT_EQ(record->dispatcher(record, effEditGetRect, 0, 0, &rect, 0.0f), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 550);
  EXPECT_EQ(rect->right, 900);

  int window = 0;
  EXPECT_EQ(record->dispatcher(record, effEditOpen, 0, 0, &window, 0.0f), 0);
  EXPECT_FALSE(effect.getEditor()->isOpen());
  record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
  record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
  // Edits still reach the editor without effect.
  effect.setParameter(zendrel::kGate, 0.5f);
  EXPECT_EQ(effect.getParameter(zendrel::kGate), 0.5f);
}
