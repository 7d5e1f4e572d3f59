// Display texts of numbers: fixed eight-character decimal layouts and the unit
// conversions built on them, each cut to the length the caller allows.
#include <cmath>
#include <cstring>

#include "plugin/vst/audio_effect.h"

namespace {

// Copies at most maxLen characters of source, then terminates: after the
// copied text and, always, at position maxLen (text holds maxLen + 1 bytes).
void copyLimited(char* text, const char* source, VstInt32 maxLen) {
  std::size_t n = std::strlen(source);
  if (n > static_cast<std::size_t>(maxLen)) n = static_cast<std::size_t>(maxLen);
  std::memcpy(text, source, n);
  text[n] = '\0';
  text[maxLen] = '\0';
}

// Appends source so that text holds at most maxLen characters in all.
void appendLimited(char* text, const char* source, VstInt32 maxLen) {
  std::size_t have = std::strlen(text);
  if (have >= static_cast<std::size_t>(maxLen)) return;
  std::size_t room = static_cast<std::size_t>(maxLen) - have;
  std::size_t n = std::strlen(source);
  if (n > room) n = room;
  std::memcpy(text + have, source, n);
  text[have + n] = '\0';
}

}  // namespace

void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) {
  if (!text || maxLen < 0) return;
  double v = value;
  // Not in the digit algorithm's domain: its digit casts would be undefined.
  if (std::isnan(v)) {
    copyLimited(text, "NaN", maxLen);
    return;
  }
  VstInt32 used = 0;
  bool negative = false;
  bool huge = false;
  if (v < 0) {
    v = -v;
    used = 1;
    negative = true;
    huge = v > 9999999.0;
  } else {
    huge = v > 99999999.0;
  }
  if (huge) {
    copyLimited(text, "Huge!", maxLen);
    return;
  }

  char scratch[32];
  int pos = 31;
  scratch[pos--] = '\0';
  scratch[pos--] = '.';
  double ip = std::floor(v);
  scratch[pos--] = static_cast<char>('0' + static_cast<int>(std::fmod(ip, 10.0)));
  ip /= 10.0;
  used += 2;
  while (ip >= 1.0 && used < 8) {
    scratch[pos--] = static_cast<char>('0' + static_cast<int>(std::fmod(ip, 10.0)));
    ip /= 10.0;
    used++;
  }
  if (negative) scratch[pos--] = '-';
  copyLimited(text, scratch + pos + 1, maxLen);
  if (used >= 8) return;

  int places = 8 - used;
  double frac = std::pow(10.0, places) * std::fmod(v, 1.0);
  char digits[16];
  digits[places] = '\0';
  for (int i = places - 1; i >= 0; --i) {
    if (frac <= 0) {
      digits[i] = '0';
    } else {
      digits[i] = static_cast<char>('0' + static_cast<int>(std::fmod(frac, 10.0)));
      frac /= 10.0;
    }
  }
  appendLimited(text, digits, maxLen);
  text[maxLen] = '\0';
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) {
  if (!text || maxLen < 0) return;
  // Magnitudes of ten digits would give a "digit" above 9 for the first
  // divisor; negating INT32_MIN would overflow.
  if (value >= 100000000 || value <= -1000000000) {
    copyLimited(text, "Huge!", maxLen);
    return;
  }
  char out[16];
  int n = 0;
  if (value < 0) {
    out[n++] = '-';
    value = -value;
  }
  bool started = false;
  for (VstInt32 divisor = 100000000; divisor >= 1; divisor /= 10) {
    VstInt32 digit = value / divisor;
    value %= divisor;
    if (digit != 0 || started) {
      out[n++] = static_cast<char>('0' + digit);
      started = true;
    }
  }
  // The digit loop emits nothing for zero; "0" reads better than an empty text.
  if (!started) out[n++] = '0';
  out[n] = '\0';
  copyLimited(text, out, maxLen);
}

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) {
  if (!text || maxLen < 0) return;
  if (value <= 0) {
    copyLimited(text, "-oo", maxLen);
    return;
  }
  float2string(static_cast<float>(20.0 * std::log10(static_cast<double>(value))), text, maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) {
  float rate = getSampleRate();
  if (samples == 0.0f)
    float2string(0.0f, text, maxLen);
  else
    float2string(rate / samples, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen) {
  float2string(static_cast<float>(samples * 1000.0 / getSampleRate()), text, maxLen);
}
