#include "options_window/telegram_bar_frame_window.h"

#include "display/popup_label_window.h"
#include "options_window/option_binding_window.h"
#include "options_window/popup_choosers.h"
#include "state/options.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

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
  auto* grid = new QGridLayout(this);
  int row = 0;

  grid->addWidget(check(Check::chkMsgAktiv, "chkMsgAktiv", QStringLiteral("Aktiv")), row++, 0);

  auto* chkMsgVorne =
      check(Check::chkMsgVorne, "chkMsgVorne", QStringLiteral("Im Vordergrund für Sek:"));
  chkMsgVorne->setToolTip(secondsTip());
  auto* txtMsgTime = narrow(text(Text::txtMsgTime, "txtMsgTime"));
  txtMsgTime->setToolTip(secondsTip());
  grid->addWidget(chkMsgVorne, row, 0);
  grid->addWidget(txtMsgTime, row++, 1);

  grid->addWidget(captionLabel(QStringLiteral("Label8"), QStringLiteral("Zeilen:"), this), row, 0);
  grid->addWidget(narrow(text(Text::txtMsgLines, "txtMsgLines")), row++, 1);

  auto* positions = new QButtonGroup(this);
  auto* positionRow = new QHBoxLayout;
  const QString positionCaptions[2] = {QStringLiteral("Oben"), QStringLiteral("Unten")};
  for (int element = 0; element < 2; ++element) {
    optPosition_[element] = new QRadioButton(positionCaptions[element], this);
    optPosition_[element]->setObjectName(QStringLiteral("OptPosition%1").arg(element));
    positions->addButton(optPosition_[element], element);
    positionRow->addWidget(optPosition_[element]);
  }
  positionRow->addStretch();
  connect(positions, &QButtonGroup::idClicked, &options_, &Options::OptPosition_Click);
  connect(&options_, &Options::positionClicked, this, &TelegramBarFrame::showPosition);
  showPosition();
  grid->addLayout(positionRow, row++, 0, 1, 2);

  auto* txtMsgBreite = narrow(text(Text::txtMsgBreite, "txtMsgBreite"));
  txtMsgBreite->setToolTip(
      QStringLiteral("Gibt die Breite des Statusfensters bezogen auf die Bildschirmbreite an"));
  grid->addWidget(captionLabel(QStringLiteral("Label3"), QStringLiteral("Breite (%):"), this), row,
                  0);
  grid->addWidget(txtMsgBreite, row++, 1);

  auto* txtMsgLinks = narrow(text(Text::txtMsgLinks, "txtMsgLinks"));
  txtMsgLinks->setToolTip(QStringLiteral(
      "Abstand des Statusfenster vom linken Rand, bezogen auf die Bildschirmbreite"));
  grid->addWidget(captionLabel(QStringLiteral("Label4"), QStringLiteral("Links (%):"), this), row,
                  0);
  grid->addWidget(txtMsgLinks, row++, 1);

  // The filter list is long; its box takes the whole row under its caption.
  grid->addWidget(captionLabel(QStringLiteral("Label5"), QStringLiteral("Anzeigen:"), this), row++,
                  0, 1, 2);
  auto* txtMsgOnly = text(Text::txtMsgOnly, "txtMsgOnly");
  txtMsgOnly->setMinimumWidth(txtMsgOnly->fontMetrics().horizontalAdvance(
      options_.text(Text::txtMsgOnly) + QStringLiteral("00")));
  grid->addWidget(txtMsgOnly, row++, 0, 1, 2);

  auto* unknownRow = new QHBoxLayout;
  unknownRow->addWidget(
      captionLabel(QStringLiteral("Label6"), QStringLiteral("Unbekannte anzeigen:"), this));
  unknownRow->addWidget(check(Check::chkUnbekFME, "chkUnbekFME", QStringLiteral("FME")));
  unknownRow->addWidget(check(Check::chkUnbekFMS, "chkUnbekFMS", QStringLiteral("FMS")));
  unknownRow->addStretch();
  grid->addLayout(unknownRow, row++, 0, 1, 2);

  grid->addWidget(check(Check::chkHideRIC, "chkHideRIC", QStringLiteral("RICs/ZVEI ausblenden")),
                  row++, 0, 1, 2);

  auto* chkReClickHide = check(Check::chkReClickHide, "chkReClickHide",
                               QStringLiteral("Rechtsklick versteckt für Sek:"));
  chkReClickHide->setToolTip(secondsTip());
  grid->addWidget(chkReClickHide, row, 0);
  grid->addWidget(narrow(text(Text::txtReClickHide, "txtReClickHide")), row++, 1);

  auto* indicatorRow = new QHBoxLayout;
  indicatorRow->addWidget(check(Check::chkSW, "chkSW", QStringLiteral("Sprechwunsch")));
  indicatorRow->addWidget(check(Check::chkES, "chkES", QStringLiteral("Es Spricht")));
  indicatorRow->addStretch();
  grid->addLayout(indicatorRow, row++, 0, 1, 2);

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

  auto* lastRow = new QHBoxLayout;
  lastRow->addWidget(cmdMsgSchrift);
  lastRow->addWidget(lblFarbe_);
  lastRow->addWidget(check(Check::chkSysTray, "chkSysTray", QStringLiteral("Systray Icon")));
  lastRow->addStretch();
  grid->addLayout(lastRow, row++, 0, 1, 2);

  grid->setRowStretch(row, 1);
  grid->setColumnStretch(0, 1);
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
