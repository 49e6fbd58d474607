// SPDX-License-Identifier: GPL-3.0-or-later
#include "fms_encoder.h"

#include <stdexcept>

namespace meldlux::signal {

namespace {

constexpr unsigned kGenerator = 0xC5; // x^7 + x^6 + x^2 + 1
constexpr int kRunInBits = 16;
constexpr unsigned kSync = 0x1A; // 00011010, sent as written

void pushLsbFirst(std::vector<bool>& bits, unsigned value, int count) {
  for (int i = 0; i < count; ++i)
    bits.push_back((value >> i) & 1u);
}

int hexDigit(QChar c) {
  const int v = QStringView(&c, 1).toInt(nullptr, 16);
  const bool ok = (c >= u'0' && c <= u'9') || (c.toLower() >= u'a' && c.toLower() <= u'f');
  return ok ? v : -1;
}

// The remainder of the bits (first bit highest) divided by the generator.
unsigned crc7(const std::vector<bool>& bits) {
  unsigned reg = 0;
  for (const bool bit : bits) {
    const bool top = ((reg >> 6) & 1u) != bit;
    reg = (reg << 1) & 0x7F;
    if (top)
      reg ^= kGenerator & 0x7F;
  }
  return reg;
}

} // namespace

std::vector<bool> fmsBits(const FmsFrame& frame) {
  if (frame.identifier.size() != 8)
    throw std::invalid_argument("FMS identifier must be 8 hexadecimal digits");
  int digits[8];
  for (int i = 0; i < 8; ++i) {
    digits[i] = hexDigit(frame.identifier[i]);
    if (digits[i] < 0)
      throw std::invalid_argument("FMS identifier must be 8 hexadecimal digits");
  }
  if (frame.status < 0 || frame.status > 15 || frame.tacticalInfo < 0 || frame.tacticalInfo > 3)
    throw std::invalid_argument("FMS status 0-15, tactical information 0-3");

  std::vector<bool> data;
  // Place and vehicle go digit by digit in reading order, each nibble least significant bit first.
  for (const int digit : digits)
    pushLsbFirst(data, unsigned(digit), 4);
  pushLsbFirst(data, unsigned(frame.status), 4);
  data.push_back(frame.buildStage);
  data.push_back(frame.toVehicle);
  pushLsbFirst(data, unsigned(frame.tacticalInfo), 2);

  const unsigned check = crc7(data);
  for (int i = 6; i >= 0; --i)
    data.push_back((check >> i) & 1u);
  data.push_back(false);
  // Spoilt bits are check bits in a row: spoilt in the data, multimon-ng's one-bit repair can
  // turn a frame into another vehicle's.
  for (int i = 0; i < frame.damagedBits && i < 7; ++i)
    data[40 + std::size_t(i)] = !data[40 + std::size_t(i)];

  std::vector<bool> bits(kRunInBits, true);
  for (int i = 7; i >= 0; --i)
    bits.push_back((kSync >> i) & 1u);
  bits.insert(bits.end(), data.begin(), data.end());
  bits.insert(bits.end(), 4, true); // a short tail, so the last bit is not cut
  return bits;
}

} // namespace meldlux::signal
