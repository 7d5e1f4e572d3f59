// Number formatting of the base: digits cut, never rounded, at most maxLen
// characters and a NUL at position maxLen, nothing beyond.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "tests/plugin/vst/test_effect.h"

namespace {

using zendrel::test::TestEffect;

// Formats into a buffer of canary bytes and checks nothing lands past maxLen.
class Format : public ::testing::Test {
 protected:
  template <typename F>
  std::string run(F&& format, int maxLen = 8) {
    std::memset(buffer, '#', sizeof buffer);
    format(buffer, maxLen);
    for (std::size_t i = static_cast<std::size_t>(maxLen) + 1; i < sizeof buffer; ++i)
      EXPECT_EQ(buffer[i], '#') << "byte " << i << " written with maxLen " << maxLen;
    EXPECT_EQ(buffer[maxLen], '\0');
    return std::string(buffer);
  }
  std::string f(float v, int maxLen = 8) {
    return run([&](char* t, int n) { fx.float2string(v, t, n); }, maxLen);
  }
  std::string i(VstInt32 v, int maxLen = 16) {
    return run([&](char* t, int n) { fx.int2string(v, t, n); }, maxLen);
  }

  TestEffect fx{nullptr, nullptr};
  char buffer[40];
};

TEST_F(Format, FloatDigitsAreCutToEightCharacters) {
  EXPECT_EQ(f(1.0f), "1.000000");
  EXPECT_EQ(f(32.0f), "32.00000");
  EXPECT_EQ(f(0.0625f), "0.062500");
  EXPECT_EQ(f(0.0f), "0.000000");
  EXPECT_EQ(f(0.5f), "0.500000");
  EXPECT_EQ(f(16.0f), "16.00000");
  EXPECT_EQ(f(0.0234375f), "0.023437");
  EXPECT_EQ(f(0.3455f), "0.345499");
  EXPECT_EQ(f(0.2685f), "0.268500");
  EXPECT_EQ(f(0.984375f), "0.984375");
  EXPECT_EQ(f(-3.25f), "-3.25000");
  EXPECT_EQ(f(-0.0f), "0.000000");
  EXPECT_EQ(f(100.0f), "100.0000");
  EXPECT_EQ(f(1001.0f), "1001.000");
}

TEST_F(Format, FloatLargeIntegerPartsAndHuge) {
  EXPECT_EQ(f(1234567.0f), "1234567.");
  EXPECT_EQ(f(12345678.0f), "2345678.");  // only the seven lowest digits
  EXPECT_EQ(f(99999992.0f), "9999992.");
  EXPECT_EQ(f(100000000.0f), "Huge!");
  EXPECT_EQ(f(-1234567.0f), "-234567.");
  EXPECT_EQ(f(-9999999.0f), "-999999.");
  EXPECT_EQ(f(-10000000.0f), "Huge!");
  EXPECT_EQ(f(std::numeric_limits<float>::infinity()), "Huge!");
  EXPECT_EQ(f(-std::numeric_limits<float>::infinity()), "Huge!");
  EXPECT_EQ(f(std::numeric_limits<float>::quiet_NaN()), "NaN");
}

TEST_F(Format, FloatShortAndOddLimits) {
  EXPECT_EQ(f(0.5f, 3), "0.5");
  EXPECT_EQ(f(-3.25f, 2), "-3");
  EXPECT_EQ(f(123.0f, 0), "");
  EXPECT_EQ(f(100000000.0f, 3), "Hug");
  EXPECT_EQ(f(0.5f, 12), "0.500000");  // still eight characters of content
  // A negative limit cannot be honoured: nothing is written at all.
  std::memset(buffer, '#', sizeof buffer);
  fx.float2string(1.0f, buffer, -1);
  fx.int2string(1, buffer, -5);
  fx.dB2string(1.0f, buffer, -1);
  EXPECT_EQ(buffer[0], '#');
  fx.float2string(1.0f, nullptr, 8);  // and a null text is no crash
}

TEST_F(Format, Integers) {
  EXPECT_EQ(i(0), "0");
  EXPECT_EQ(i(7), "7");
  EXPECT_EQ(i(1020304), "1020304");
  EXPECT_EQ(i(-56), "-56");
  EXPECT_EQ(i(99999999), "99999999");
  EXPECT_EQ(i(100000000), "Huge!");
  EXPECT_EQ(i(-999999999), "-999999999");
  EXPECT_EQ(i(-1000000000), "Huge!");
  EXPECT_EQ(i(std::numeric_limits<VstInt32>::min()), "Huge!");
  EXPECT_EQ(i(12345, 3), "123");
}

TEST_F(Format, DecibelsHertzAndMilliseconds) {
  auto dB = [&](float v) { return run([&](char* t, int n) { fx.dB2string(v, t, n); }); };
  auto hz = [&](float v) { return run([&](char* t, int n) { fx.Hz2string(v, t, n); }); };
  auto ms = [&](float v) { return run([&](char* t, int n) { fx.ms2string(v, t, n); }); };
  EXPECT_EQ(dB(0.0f), "-oo");
  EXPECT_EQ(dB(-1.0f), "-oo");
  EXPECT_EQ(dB(1.0f), "0.000000");
  EXPECT_EQ(dB(10.0f), "20.00000");
  EXPECT_EQ(dB(0.5f), "-6.02059");
  EXPECT_EQ(hz(0.0f), "0.000000");
  EXPECT_EQ(hz(44100.0f), "1.000000");
  EXPECT_EQ(hz(441.0f), "100.0000");
  EXPECT_EQ(ms(441.0f), "10.00000");
  fx.setSampleRate(48000.0f);
  EXPECT_EQ(hz(480.0f), "100.0000");
  EXPECT_EQ(ms(48.0f), "1.000000");
}

}  // namespace
