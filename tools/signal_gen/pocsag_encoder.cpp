// SPDX-License-Identifier: GPL-3.0-or-later
#include "pocsag_encoder.h"

#include <stdexcept>

namespace meldlux::signal {

namespace {

constexpr std::uint32_t kSync = 0x7CD215D8;
constexpr std::uint32_t kIdle = 0x7A89C197;
constexpr std::uint32_t kGenerator = 0x769; // x^10 + x^9 + x^8 + x^6 + x^5 + x^3 + 1
constexpr int kPreambleBits = 576;
constexpr std::uint32_t kHighestRic = (1u << 21) - 1;

// The 7-bit German set puts the umlauts where ASCII has brackets and braces.
int germanCode(QChar c) {
  switch (c.unicode()) {
  case u'Ä': return '[';
  case u'Ö': return '\\';
  case u'Ü': return ']';
  case u'ä': return '{';
  case u'ö': return '|';
  case u'ü': return '}';
  case u'ß': return '~';
  case u'[': case u'\\': case u']': case u'{': case u'|': case u'}': case u'~':
    return -1; // taken by the umlauts
  default:
    return c.unicode() < 0x80 ? int(c.unicode()) : -1;
  }
}

int numericCode(QChar c) {
  static const char16_t kDigits[] = u"0123456789*U -)(";
  for (int i = 0; i < 16; ++i)
    if (kDigits[i] == c.unicode())
      return i;
  return -1;
}

void pushBits(std::vector<bool>& bits, std::uint32_t value, int count, bool lsbFirst) {
  for (int i = 0; i < count; ++i)
    bits.push_back((value >> (lsbFirst ? i : count - 1 - i)) & 1u);
}

std::vector<std::uint32_t> messageCodewords(const PocsagPage& page) {
  std::vector<bool> stream;
  for (const QChar c : page.text) {
    const int code = page.numeric ? numericCode(c) : germanCode(c);
    if (code < 0)
      throw std::invalid_argument("character not in the pager's set: " +
                                  QString(c).toStdString());
    pushBits(stream, std::uint32_t(code), page.numeric ? 4 : 7, true);
  }
  if (page.numeric) {
    while (stream.size() % 20 != 0)
      pushBits(stream, 0xC, 4, true); // spaces
  } else {
    if (!stream.empty())
      pushBits(stream, 0x04, 7, true); // EOT ends the text
    while (stream.size() % 20 != 0)
      stream.push_back(false);
  }
  std::vector<std::uint32_t> words;
  for (std::size_t i = 0; i < stream.size(); i += 20) {
    std::uint32_t data = 1; // message flag
    for (std::size_t b = 0; b < 20; ++b)
      data = (data << 1) | (stream[i + b] ? 1u : 0u);
    words.push_back(pocsagCodeword(data));
  }
  return words;
}

} // namespace

std::uint32_t pocsagCodeword(std::uint32_t data21) {
  std::uint32_t remainder = (data21 & 0x1FFFFF) << 10;
  for (int bit = 30; bit >= 10; --bit)
    if (remainder & (1u << bit))
      remainder ^= kGenerator << (bit - 10);
  std::uint32_t word = ((data21 & 0x1FFFFF) << 11) | (remainder << 1);
  if (__builtin_popcount(word) % 2 != 0)
    word |= 1;
  return word;
}

std::vector<bool> pocsagBits(const PocsagPage& page) {
  if (page.ric > kHighestRic)
    throw std::invalid_argument("RIC above 2097151");
  if (page.function < 0 || page.function > 3)
    throw std::invalid_argument("function not 0-3");
  std::vector<std::uint32_t> words;
  const int frame = int(page.ric & 7);
  for (int i = 0; i < frame * 2; ++i)
    words.push_back(kIdle);
  words.push_back(pocsagCodeword(((page.ric >> 3) << 2) | std::uint32_t(page.function)));
  for (const std::uint32_t w : messageCodewords(page))
    words.push_back(w);
  // An idle codeword ends the message; then fill the batch.
  words.push_back(kIdle);
  while (words.size() % 16 != 0)
    words.push_back(kIdle);

  std::vector<bool> bits;
  for (int i = 0; i < kPreambleBits; ++i)
    bits.push_back(i % 2 == 0);
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i % 16 == 0)
      pushBits(bits, kSync, 32, false);
    pushBits(bits, words[i], 32, false);
  }
  return bits;
}

} // namespace meldlux::signal
