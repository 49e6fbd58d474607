// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/popup_model.h"

#include "base/clock.h"
#include "base/event_log.h"
#include "base/failure.h"
#include "base/formats.h"
#include "base/numbers.h"
#include "display/foreground.h"
#include "display/screen.h"
#include "display/text_metrics.h"
#include "refdata/replacements.h"
#include "state/link_state.h"
#include "state/options.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace meldlux {

namespace {

// Design widths of the labels; a caption that needs more widens its label.
constexpr int kZeitWidth = 390;
constexpr int kTextWidth = 2535;
constexpr int kSprechwunschWidth = 1050;
constexpr int kSprichtWidth = 705;
// Gap between the time column and the text column.
constexpr int kColumnGap = 100;

// Geometry from percentages of the settings can be anything; keep it a whole number of twips
// that any later sum still holds.
int toTwips(double value) {
  if (!std::isfinite(value))
    return 0;
  return int(std::nearbyint(std::clamp(value, -1.0e9, 1.0e9)));
}

} // namespace

PopupModel::PopupModel(Options& options, const Clock& clock, LinkState& link,
                       const ReplacementTable& replacements, Indicators& indicators, EventLog& log,
                       PopupPorts ports, QObject* parent)
    : QObject(parent), options_(options), clock_(clock), link_(link), replacements_(replacements),
      indicators_(indicators), log_(log), ports_(ports) {
  Label zeit;
  zeit.foreColor = 16777215;
  zeit.left = 60;
  zeit.width = kZeitWidth;
  fit(zeit, kZeitWidth);
  lblZeit_.push_back(zeit);

  Label text;
  text.foreColor = 65280;
  text.left = 780;
  text.width = kTextWidth;
  fit(text, kTextWidth);
  lblText_.push_back(text);

  fitIndicator(Indicator::Sprechwunsch);
  fitIndicator(Indicator::Spricht);
  connect(&indicators_, &Indicators::changed, this, [this](Indicator which) {
    fitIndicator(which);
    placeIndicatorRow();
  });

  timer1_.setInterval(5000);
  connect(&timer1_, &QTimer::timeout, this, &PopupModel::Timer1_Timer);

  Form_Load();
}

PopupModel::~PopupModel() = default;

// ---------------------------------------------------------------------------------------------
// Producers

void PopupModel::AddMessage(OleDate time, QString& text, Colour colour) {
  text = ApplyReplacements(replacements_, text);
  list_.push(MessageEntry{time, text, colour});
  if (log_.enabled())
    log_.write(u"message", {formatDateTime(time), QString::number(colour), text});
  newMessagePending_ = true;
  // Placed with the height it has now; the layout that follows may change the height.
  placeVertically();
}

bool PopupModel::IsRecentDuplicate(const QString& text) const {
  return list_.containsRecent(text, nowSeconds(), options_.SuppressSeconds);
}

void PopupModel::ShowPopup() {
  if (visible_) {
    restartDisplayTimer();
    return;
  }
  ports_.foreground.remember();
  const bool free = !holdActive();
  if (free)
    setVisible(true);
  if (free && options_.checked(Check::chkMsgAktiv) && options_.checked(Check::chkMsgVorne))
    SetTopMost();
  restartDisplayTimer();
  if (free)
    ports_.foreground.restore();
}

bool PopupModel::RefreshLines() {
  const std::int16_t n = roundToInt16(options_.number(Text::txtMsgLines));
  // During a burst the labels stay as they are; the cleanup tick catches up afterwards.
  if (link_.ReceiveBurstCount > n)
    return true;
  std::int32_t s = roundToInt32(options_.number(Text::txtMsgTime));
  const double now = nowSeconds();

  lastLine_ = -1;
  if (now <= IndicatorTime * kSecondsPerDay + s)
    lastLine_ = 0;
  if (s == 0)
    s = 86400;

  setLeft(percentOfScreen(options_.PopupLeftPercent));
  setWidth(percentOfScreen(options_.PopupWidthPercent));

  for (int i = 0; i < MessageList::kSize; ++i) {
    const MessageEntry& entry = list_[i];
    if (entry.Time == 0)
      continue;
    while (i >= lineCount())
      loadLine(lineCount());
    const QString& time = list_.timeCaption(i);
    const QString& text = list_.textCaption(i);
    changeLine(lblZeit_, i, [&](Label& l) {
      l.caption = time;
      l.visible = true;
      l.foreColor = entry.colour;
      if (i > 0)
        l.top = rowTop(lblZeit_, i);
      l.left = lblZeit_[0].left;
    });
    changeLine(lblText_, i, [&](Label& l) {
      l.caption = text;
      l.visible = true;
      l.foreColor = entry.colour;
      if (i > 0)
        l.top = rowTop(lblText_, i);
    });
    if (now <= entry.Time * kSecondsPerDay + s)
      lastLine_ = std::int16_t(i);
  }
  if (lastLine_ + 1 > n)
    lastLine_ = std::int16_t(n - 1);
  placeIndicatorRow();
  return true;
}

void PopupModel::LayoutPopup() {
  if (newMessagePending_) {
    if (lastLine_ < 0)
      setVisible(false);
    else if (!holdActive())
      setVisible(true);
    newMessagePending_ = false;
  }

  const int textLeft = lblZeit_[0].left + lblZeit_[0].width + kColumnGap;
  for (int i = 0; i < lineCount(); ++i) {
    // Every telegram lays the popup out, but mostly nothing changes below the newest line: look
    // before copying a label to change it.
    const Label& zeit = lblZeit_[std::size_t(i)];
    if (i > 0 && (zeit.bold || zeit.font != lblZeit_[0].font)) {
      const LabelFont zeitFont = lblZeit_[0].font;
      changeLine(lblZeit_, i, [&](Label& l) {
        l.bold = false;
        l.font = zeitFont;
      });
    }
    const Label& text = lblText_[std::size_t(i)];
    if (text.left != textLeft || (i > 0 && (text.bold || text.font != lblText_[0].font))) {
      const LabelFont textFont = lblText_[0].font;
      changeLine(lblText_, i, [&](Label& l) {
        if (i > 0) {
          l.bold = false;
          l.font = textFont;
        }
        l.left = textLeft;
      });
    }
  }

  alignIndicators(60);
  placeIndicatorRow();

  const int highest = lineCount() - 1;
  if (lastLine_ >= 0 && popupExpanded_ == 0 && highest >= lastLine_)
    setHeight(lineBottom(lastLine_));
  if (popupExpanded_ == 1)
    ExpandPopup();
}

void PopupModel::ExpandPopup() {
  setHeight(lineBottom(lineCount() - 1));
  popupExpanded_ = 1;
  placeVertically();
}

void PopupModel::CollapsePopup() {
  popupExpanded_ = 0;
  const bool lastLoaded = lastLine_ >= 0 && lastLine_ <= lineCount() - 1;
  setHeight(lineBottom(lastLoaded ? lastLine_ : 0));
  placeVertically();
}

void PopupModel::SetTopMost() {
  topMost_ = true;
  Q_EMIT stackingRequested(true);
}

void PopupModel::SetNotTopMost() {
  topMost_ = false;
  Q_EMIT stackingRequested(false);
}

void PopupModel::MarkNewestLine() {
  changeLine(lblZeit_, 0, [](Label& l) { l.bold = true; });
  changeLine(lblText_, 0, [](Label& l) { l.bold = true; });
  indicators_.setBold(Indicator::Sprechwunsch, false);
  indicators_.setBold(Indicator::Spricht, false);
}

void PopupModel::SetNewestLineBold(bool bold) {
  changeLine(lblZeit_, 0, [bold](Label& l) { l.bold = bold; });
  changeLine(lblText_, 0, [bold](Label& l) { l.bold = bold; });
}

void PopupModel::LoaderNotice(const QString& text, Colour colour) {
  if (!options_.checked(Check::chkMsgAktiv))
    return;
  QString line = text;
  AddMessage(clock_.now(), line, colour);
  RefreshLines();
  LayoutPopup();
  runTimer1(options_.number(Text::txtMsgTime));
}

void PopupModel::TrayClick(QStringView click) {
  if (click == u"LBUTTONDOWN") {
    if (visible_) {
      CollapsePopup();
      setVisible(false);
    } else {
      ShowPopup();
    }
  } else if (click == u"LBUTTONDOWNSHIFT") {
    ShowPopup();
    ExpandPopup();
  }
}

// ---------------------------------------------------------------------------------------------
// Window events

void PopupModel::Form_Load() {
  setTop(0);
  setLeft(percentOfScreen(options_.PopupLeftPercent));
  setWidth(percentOfScreen(options_.PopupWidthPercent));
  setHeight(indicators_.lblSpricht().height);
}

void PopupModel::Form_Resize() {
  setLeft(percentOfScreen(options_.PopupLeftPercent));
  setWidth(percentOfScreen(options_.PopupWidthPercent));
  const int textLeft = lblZeit_[0].left + lblZeit_[0].width + kColumnGap;
  for (int i = 0; i < lineCount(); ++i)
    changeLine(lblText_, i, [&](Label& l) { l.left = textLeft; });
  alignIndicators(100);
  placeIndicatorRow();
}

void PopupModel::Form_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift) {
  pressRule(button, shift);
}

void PopupModel::Form_MouseUp() { CollapsePopup(); }

void PopupModel::lblText_MouseDown(int, Qt::MouseButton button, Qt::KeyboardModifiers shift) {
  pressRule(button, shift);
}

void PopupModel::lblText_MouseUp(int) { CollapsePopup(); }

void PopupModel::lblZeit_Click(int) { setVisible(false); }

void PopupModel::lblSprechwunsch_Click() { setVisible(false); }

void PopupModel::lblSpricht_Click() { setVisible(false); }

void PopupModel::Timer1_Timer() {
  if (popupExpanded_ == 0)
    setVisible(false);
  timer1_.stop();
}

void PopupModel::pressRule(Qt::MouseButton button, Qt::KeyboardModifiers shift) {
  const Qt::KeyboardModifiers held =
      shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (held == Qt::ShiftModifier) {
    ExpandPopup();
    return;
  }
  CollapsePopup();
  setVisible(false);
  if (button != Qt::RightButton || !options_.checked(Check::chkReClickHide))
    return;
  try {
    const std::int32_t seconds = roundToInt32(std::abs(options_.number(Text::txtReClickHide)));
    HiddenUntil = clock_.now() + seconds / kSecondsPerDay;
  } catch (const Failure&) {
    // A hold time beyond any clock's reach: the click only hides the window.
  }
}

// ---------------------------------------------------------------------------------------------
// Window state

const Label& PopupModel::lblZeit(int index) const {
  if (index < 0 || index >= lineCount())
    throw Failure(QStringLiteral("Steuerelementfeld-Element %1 existiert nicht").arg(index));
  return lblZeit_[std::size_t(index)];
}

const Label& PopupModel::lblText(int index) const {
  if (index < 0 || index >= lineCount())
    throw Failure(QStringLiteral("Steuerelementfeld-Element %1 existiert nicht").arg(index));
  return lblText_[std::size_t(index)];
}

void PopupModel::setVisible(bool visible) {
  if (visible_ == visible)
    return;
  visible_ = visible;
  log_.write(u"popup", {visible ? QStringLiteral("shown") : QStringLiteral("hidden")});
  Q_EMIT visibleChanged(visible);
}

void PopupModel::setLeft(int twips) {
  if (left_ == twips)
    return;
  left_ = twips;
  Q_EMIT geometryChanged();
}

void PopupModel::setTop(int twips) {
  if (top_ == twips)
    return;
  top_ = twips;
  Q_EMIT geometryChanged();
}

void PopupModel::setWidth(int twips) {
  // A negative percentage would give a negative width, which no window can take: none instead.
  twips = std::max(twips, 0);
  if (width_ == twips)
    return;
  width_ = twips;
  Q_EMIT geometryChanged();
  Form_Resize();
}

void PopupModel::setHeight(int twips) {
  if (height_ == twips)
    return;
  height_ = twips;
  Q_EMIT geometryChanged();
  Form_Resize();
}

void PopupModel::setIndicatorVisible(Indicator which, bool visible) {
  Label& l = indicators_.layout(which);
  if (l.visible == visible)
    return;
  l.visible = visible;
  indicators_.layoutChanged(which);
}

void PopupModel::applyFont(const PopupFont& font) {
  const LabelFont lf{font.name, font.size, font.italic};
  auto apply = [&](Label& l) {
    l.font = lf;
    l.bold = font.bold;
  };
  changeLine(lblZeit_, 0, apply);
  changeLine(lblText_, 0, apply);
  for (Indicator which : {Indicator::Sprechwunsch, Indicator::Spricht}) {
    Label& l = indicators_.layout(which);
    if (l.font != lf) {
      l.font = lf;
      indicators_.layoutChanged(which);
    }
    indicators_.setBold(which, font.bold);
    fitIndicator(which);
  }
}

PopupFont PopupModel::font() const {
  const Label& l = lblText_[0];
  return PopupFont{l.font.name, l.font.size, l.bold, l.font.italic};
}

void PopupModel::applyBackColor(Colour colour) {
  if (backColor_ != colour) {
    backColor_ = colour;
    Q_EMIT backColorChanged();
  }
  for (Indicator which : {Indicator::Sprechwunsch, Indicator::Spricht}) {
    Label& l = indicators_.layout(which);
    if (l.backColor != colour) {
      l.backColor = colour;
      indicators_.layoutChanged(which);
    }
  }
  for (int i = 0; i < lineCount(); ++i) {
    changeLine(lblZeit_, i, [&](Label& l) { l.backColor = colour; });
    changeLine(lblText_, i, [&](Label& l) { l.backColor = colour; });
  }
}

// ---------------------------------------------------------------------------------------------
// Helpers

double PopupModel::nowSeconds() const { return clock_.now() * kSecondsPerDay; }

bool PopupModel::holdActive() const { return !(clock_.now() > HiddenUntil); }

void PopupModel::placeVertically() {
  setTop(options_.PopupPosition == 1 ? ports_.screen.height() - height_ : 0);
}

void PopupModel::restartDisplayTimer() {
  const double seconds = options_.number(Text::txtMsgTime);
  if (!(seconds > 0))
    return;
  const std::int32_t interval = roundToInt32(seconds * 1000);
  timer1_.stop();
  timer1_.setInterval(interval);
  if (interval > 0)
    timer1_.start();
}

void PopupModel::runTimer1(double seconds) {
  const std::int32_t interval = roundToInt32(seconds * 1000);
  // A timer with interval 0 never fires.
  if (interval <= 0) {
    timer1_.stop();
    timer1_.setInterval(0);
    return;
  }
  timer1_.setInterval(interval);
  if (!timer1_.isActive())
    timer1_.start();
}

int PopupModel::percentOfScreen(float percent) const {
  return toTwips(double(percent) / 100.0 * ports_.screen.width());
}

void PopupModel::alignIndicators(int gapToEdge) {
  Label& spricht = indicators_.layout(Indicator::Spricht);
  const int sprichtLeft = toTwips(double(width_) - spricht.width - gapToEdge);
  if (spricht.left != sprichtLeft) {
    spricht.left = sprichtLeft;
    indicators_.layoutChanged(Indicator::Spricht);
  }
  Label& sprechwunsch = indicators_.layout(Indicator::Sprechwunsch);
  const int sprechwunschLeft = toTwips(double(sprichtLeft) - sprechwunsch.width - 100);
  if (sprechwunsch.left != sprechwunschLeft) {
    sprechwunsch.left = sprechwunschLeft;
    indicators_.layoutChanged(Indicator::Sprechwunsch);
  }
}

void PopupModel::placeIndicatorRow() {
  const Label& first = lblText_[0];
  const int row = indicatorCoversLineZero() ? std::max(indicators_.lblSprechwunsch().height,
                                                       indicators_.lblSpricht().height)
                                            : 0;
  const bool changed = row != indicatorRow_;
  // Set before anything is announced: the announcements come back here.
  indicatorRow_ = row;
  const int top = row > 0 ? first.top + first.height : 0;
  for (Indicator which : {Indicator::Sprechwunsch, Indicator::Spricht}) {
    Label& l = indicators_.layout(which);
    if (l.top != top) {
      l.top = top;
      indicators_.layoutChanged(which);
    }
  }
  if (!changed)
    return;
  for (int i = 1; i < lineCount(); ++i) {
    changeLine(lblZeit_, i, [&](Label& l) { l.top = rowTop(lblZeit_, i); });
    changeLine(lblText_, i, [&](Label& l) { l.top = rowTop(lblText_, i); });
  }
  // The strip grows or shrinks by the row at once, and stays at its edge.
  if (popupExpanded_ == 1)
    ExpandPopup();
  else if (lastLine_ >= 0 && lastLine_ < lineCount()) {
    setHeight(lineBottom(lastLine_));
    placeVertically();
  }
}

bool PopupModel::indicatorCoversLineZero() const {
  const Label& text = lblText_[0];
  if (!text.visible || text.caption.trimmed().isEmpty())
    return false;
  const int left = text.left;
  const int right = left + ports_.metrics.textWidth(text.font, text.bold, text.caption);
  for (Indicator which : {Indicator::Sprechwunsch, Indicator::Spricht}) {
    const Label& l = indicators_.label(which);
    if (l.visible && !l.caption.trimmed().isEmpty() && l.left < right && l.left + l.width > left)
      return true;
  }
  return false;
}

int PopupModel::rowTop(const std::vector<Label>& labels, int index) const {
  const Label& above = labels[std::size_t(index - 1)];
  return above.top + above.height + (index == 1 ? indicatorRow_ : 0);
}

int PopupModel::lineBottom(int index) const {
  const Label& l = lblText_[std::size_t(index)];
  return l.top + l.height + (index == 0 ? indicatorRow_ : 0);
}

void PopupModel::loadLine(int index) {
  // A new element starts as a copy of element 0, hidden until the refresh fills it.
  Label zeit = lblZeit_[0];
  zeit.visible = false;
  Label text = lblText_[0];
  text.visible = false;
  lblZeit_.push_back(zeit);
  lblText_.push_back(text);
  Q_EMIT lineChanged(index);
}

template <typename Change>
void PopupModel::changeLine(std::vector<Label>& labels, int index, Change change) {
  Label& current = labels[std::size_t(index)];
  Label next = current;
  change(next);
  if (next.caption != current.caption || next.font != current.font || next.bold != current.bold)
    fit(next, &labels == &lblZeit_ ? kZeitWidth : kTextWidth);
  if (next == current)
    return;
  current = std::move(next);
  Q_EMIT lineChanged(index);
}

void PopupModel::fit(Label& label, int designWidth) const {
  label.width =
      std::max(designWidth, ports_.metrics.textWidth(label.font, label.bold, label.caption));
  label.height = ports_.metrics.rowHeight(label.font);
}

void PopupModel::fitIndicator(Indicator which) {
  Label& l = indicators_.layout(which);
  Label fitted = l;
  fit(fitted, which == Indicator::Sprechwunsch ? kSprechwunschWidth : kSprichtWidth);
  if (fitted.width == l.width && fitted.height == l.height)
    return;
  l.width = fitted.width;
  l.height = fitted.height;
  indicators_.layoutChanged(which);
}

} // namespace meldlux
