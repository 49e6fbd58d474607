// SPDX-License-Identifier: GPL-3.0-or-later
// Compiled with the core's include paths only; must fail, because the core cannot see Qt Widgets.
#include <QWidget>
int probe() { return sizeof(QWidget); }
