// SPDX-License-Identifier: GPL-3.0-or-later
#include "options_window/option_binding_window.h"

#include "state/options.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace meldlux {

QLineEdit* bindTextBox(Options& options, Text box, const QString& objectName, QWidget* parent) {
  auto* edit = new QLineEdit(options.text(box), parent);
  edit->setObjectName(objectName);
  edit->setCursorPosition(0); // a long text shows its beginning
  QObject::connect(edit, &QLineEdit::textEdited, &options,
                   [&options, box](const QString& text) { options.setText(box, text); });
  QObject::connect(&options, &Options::textChanged, edit, [&options, box, edit](Text changed) {
    if (changed != box || edit->text() == options.text(box))
      return;
    // A rule's rewrite keeps the caret where the user left it (a decimal comma turns into a
    // point under the caret, not at the end of the text).
    const int caret = edit->cursorPosition();
    edit->setText(options.text(box));
    edit->setCursorPosition(std::min(caret, int(edit->text().size())));
  });
  return edit;
}

QCheckBox* bindCheckBox(Options& options, Check box, const QString& objectName,
                        const QString& caption, QWidget* parent) {
  auto* check = new QCheckBox(caption, parent);
  check->setObjectName(objectName);
  check->setChecked(options.checked(box));
  QObject::connect(check, &QCheckBox::clicked, &options,
                   [&options, box](bool on) { options.setChecked(box, on); });
  QObject::connect(&options, &Options::clicked, check, [&options, box, check](Check changed) {
    if (changed == box)
      check->setChecked(options.checked(box));
  });
  return check;
}

QLabel* captionLabel(const QString& objectName, const QString& caption, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(objectName);
  return label;
}

} // namespace meldlux
