// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>
#include <array>

namespace meldlux {

// A text field of exactly W characters, as in the reference records. Storing pads with blanks or
// cuts; a field never stored holds W NUL characters; comparison uses all W characters, so a text
// of another length never equals it.
template <int W> class FixedText {
public:
  static constexpr int kWidth = W;

  FixedText() { chars_.fill(u'\0'); }
  explicit FixedText(QStringView text) { store(text); }

  void store(QStringView text) {
    const qsizetype n = std::min<qsizetype>(text.size(), W);
    std::copy_n(reinterpret_cast<const char16_t*>(text.data()), n, chars_.begin());
    std::fill(chars_.begin() + n, chars_.end(), u' ');
  }

  void clear() { chars_.fill(u'\0'); }

  QString text() const { return QString(reinterpret_cast<const QChar*>(chars_.data()), W); }
  QStringView view() const { return QStringView(chars_.data(), W); }

  bool equals(QStringView other) const { return other.size() == W && view() == other; }
  bool operator==(const FixedText& other) const { return chars_ == other.chars_; }

private:
  std::array<char16_t, W> chars_;
};

} // namespace meldlux
