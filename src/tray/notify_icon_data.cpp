// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/notify_icon_data.h"

#include "base/cp1252.h"

namespace meldlux {

namespace {

void appendLittleEndian(QByteArray& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out.append(char((value >> shift) & 0xFF));
}

} // namespace

void NotifyIconData::setTip(const QString& text) {
  // A character Windows-1252 cannot hold shows as "?", exactly as the shell would get it.
  szTip.store(cp1252::decode(cp1252::encode(text.left(kTipChars))) + QChar(u'\0'));
}

QString NotifyIconData::tipText() const {
  const QString all = szTip.text();
  const qsizetype nul = all.indexOf(QChar(u'\0'));
  return nul < 0 ? all : all.left(nul);
}

QByteArray NotifyIconData::bytes() const {
  QByteArray out;
  out.reserve(kSize);
  for (std::uint32_t field : {cbSize, hWnd, uID, uFlags, uCallbackMessage, hIcon})
    appendLittleEndian(out, field);
  out.append(cp1252::encode(szTip.view()));
  return out;
}

} // namespace meldlux
