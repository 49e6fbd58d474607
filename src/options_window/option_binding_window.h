// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace meldlux {

class Options;
enum class Check;
enum class Text;

// A text box showing one option text: the user's edits go to the model, and whatever the model
// does to the text (a change rule, the loader) shows in the box with the caret left in place.
QLineEdit* bindTextBox(Options& options, Text box, const QString& objectName, QWidget* parent);

// A check box showing one option value, both ways.
QCheckBox* bindCheckBox(Options& options, Check box, const QString& objectName,
                        const QString& caption, QWidget* parent);

// A plain caption label, found by its control name.
QLabel* captionLabel(const QString& objectName, const QString& caption, QWidget* parent);

} // namespace meldlux
