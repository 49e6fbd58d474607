// SPDX-License-Identifier: GPL-3.0-or-later
#include "options_window/telegram_bar_frame_window.h"

#include "display/popup_label_window.h"
#include "options_window/option_binding_window.h"
#include "options_window/popup_choosers.h"
#include "state/options.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <initializer_list>

namespace meldlux {

namespace {

QString secondsTip() { return QStringLiteral("Max. 65 Sekunden, 0 = Immer im Vordergrund"); }

// Number boxes hold a few digits; they need not stretch with the frame.
QLineEdit* narrow(QLineEdit* edit) {
  edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
  return edit;
}

} // namespace

TelegramBarFrame::TelegramBarFrame(Options& options, PopupChoosers& choosers, QWidget* parent)
    : QGroupBox(QStringLiteral("Telegrammleiste"), parent), options_(options), choosers_(choosers) {
  auto text = [&](Text box, const char* name) {
    return bindTextBox(options_, box, QString::fromLatin1(name), this);
  };
  auto check = [&](Check box, const char* name, const QString& caption) {
    return bindCheckBox(options_, box, QString::fromLatin1(name), caption, this);
  };
  // Eight rows, each read from left to right; every row keeps its controls together on the left.
  auto* rows = new QVBoxLayout(this);
  auto addRow = [rows](std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    for (QWidget* widget : widgets)
      row->addWidget(widget);
    row->addStretch();
    rows->addLayout(row);
  };

  // Controls are made in row order, which is also the order the Tab key visits them.
  auto* chkMsgAktiv = check(Check::chkMsgAktiv, "chkMsgAktiv", QStringLiteral("Aktiv"));
  auto* chkMsgVorne =
      check(Check::chkMsgVorne, "chkMsgVorne", QStringLiteral("Im Vordergrund für Sek:"));
  chkMsgVorne->setToolTip(secondsTip());
  auto* txtMsgTime = narrow(text(Text::txtMsgTime, "txtMsgTime"));
  txtMsgTime->setToolTip(secondsTip());
  addRow({chkMsgAktiv, chkMsgVorne, txtMsgTime,
          captionLabel(QStringLiteral("Label8"), QStringLiteral("Zeilen:"), this),
          narrow(text(Text::txtMsgLines, "txtMsgLines"))});

  auto* positions = new QButtonGroup(this);
  const QString positionCaptions[2] = {QStringLiteral("Oben"), QStringLiteral("Unten")};
  for (int element = 0; element < 2; ++element) {
    optPosition_[element] = new QRadioButton(positionCaptions[element], this);
    optPosition_[element]->setObjectName(QStringLiteral("OptPosition%1").arg(element));
    positions->addButton(optPosition_[element], element);
  }
  connect(positions, &QButtonGroup::idClicked, &options_, &Options::OptPosition_Click);
  connect(&options_, &Options::positionClicked, this, &TelegramBarFrame::showPosition);
  showPosition();
  auto* txtMsgBreite = narrow(text(Text::txtMsgBreite, "txtMsgBreite"));
  txtMsgBreite->setToolTip(
      QStringLiteral("Gibt die Breite des Statusfensters bezogen auf die Bildschirmbreite an"));
  auto* txtMsgLinks = narrow(text(Text::txtMsgLinks, "txtMsgLinks"));
  txtMsgLinks->setToolTip(QStringLiteral(
      "Abstand des Statusfenster vom linken Rand, bezogen auf die Bildschirmbreite"));
  addRow({optPosition_[0], optPosition_[1],
          captionLabel(QStringLiteral("Label3"), QStringLiteral("Breite (%):"), this), txtMsgBreite,
          captionLabel(QStringLiteral("Label4"), QStringLiteral("Links (%):"), this), txtMsgLinks});

  // The filter list is long; its box shows the whole default list.
  auto* txtMsgOnly = text(Text::txtMsgOnly, "txtMsgOnly");
  txtMsgOnly->setMinimumWidth(txtMsgOnly->fontMetrics().horizontalAdvance(
      options_.text(Text::txtMsgOnly) + QStringLiteral("00")));
  addRow({captionLabel(QStringLiteral("Label5"), QStringLiteral("Anzeigen:"), this), txtMsgOnly});

  addRow({captionLabel(QStringLiteral("Label6"), QStringLiteral("Unbekannte anzeigen:"), this),
          check(Check::chkUnbekFME, "chkUnbekFME", QStringLiteral("FME")),
          check(Check::chkUnbekFMS, "chkUnbekFMS", QStringLiteral("FMS"))});

  addRow({check(Check::chkHideRIC, "chkHideRIC", QStringLiteral("RICs/ZVEI ausblenden"))});

  auto* chkReClickHide = check(Check::chkReClickHide, "chkReClickHide",
                               QStringLiteral("Rechtsklick versteckt für Sek:"));
  chkReClickHide->setToolTip(secondsTip());
  addRow({chkReClickHide, narrow(text(Text::txtReClickHide, "txtReClickHide"))});

  addRow({check(Check::chkSW, "chkSW", QStringLiteral("Sprechwunsch")),
          check(Check::chkES, "chkES", QStringLiteral("Es Spricht"))});

  auto* cmdMsgSchrift = new QPushButton(QStringLiteral("Schrift"), this);
  cmdMsgSchrift->setObjectName(QStringLiteral("cmdMsgSchrift"));
  connect(cmdMsgSchrift, &QPushButton::clicked, this, [this] { choosers_.cmdMsgSchrift_Click(); });

  // A label that works as a button and shows the popup's background as a sample.
  lblFarbe_ = captionLabel(QStringLiteral("lblFarbe"), QStringLiteral("Hintergrundfarbe"), this);
  lblFarbe_->setAlignment(Qt::AlignCenter);
  lblFarbe_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  lblFarbe_->setAutoFillBackground(true);
  lblFarbe_->setMargin(3);
  lblFarbe_->setCursor(Qt::PointingHandCursor);
  lblFarbe_->installEventFilter(this);
  connect(&options_, &Options::sampleColourChanged, this, &TelegramBarFrame::showSampleColour);
  showSampleColour();
  addRow({cmdMsgSchrift, lblFarbe_,
          check(Check::chkSysTray, "chkSysTray", QStringLiteral("Systray Icon"))});

  rows->addStretch();
}

void TelegramBarFrame::showPosition() {
  optPosition_[options_.selectedPosition() == 1 ? 1 : 0]->setChecked(true);
}

void TelegramBarFrame::showSampleColour() {
  QPalette palette = lblFarbe_->palette();
  palette.setColor(QPalette::Window, toQColor(options_.sampleBackColor()));
  palette.setColor(QPalette::WindowText, toQColor(options_.sampleForeColor()));
  lblFarbe_->setPalette(palette);
}

bool TelegramBarFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lblFarbe_ && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
      lblFarbe_->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
    choosers_.lblFarbe_Click();
    return true;
  }
  return QGroupBox::eventFilter(watched, event);
}

} // namespace meldlux
