// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"
#include "display/message_list.h"
#include "state/indicators.h"
#include "state/label.h"
#include "state/popup_appearance.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <vector>

namespace meldlux {

class Clock;
class EventLog;
class Foreground;
class Options;
class Screen;
class TextMetrics;
struct LinkState;
struct ReplacementTable;

// What the popup needs from the world beyond the program's own state.
struct PopupPorts {
  const Screen& screen;
  const TextMetrics& metrics;
  Foreground& foreground;
};

// MsgForm as a model: the popup's geometry and every label in twips, its visibility and z-order,
// its display timer Timer1, the message list behind it and the rules that decide which lines it
// shows, how tall it is, where it sits and when it appears. PopupWindow only paints this state
// and forwards the user's mouse to the window events below.
class PopupModel : public QObject, public PopupAppearance {
  Q_OBJECT
public:
  PopupModel(Options& options, const Clock& clock, LinkState& link,
             const ReplacementTable& replacements, Indicators& indicators, EventLog& log,
             PopupPorts ports, QObject* parent = nullptr);
  ~PopupModel() override;

  // --- Producers (telegram handlers, loaders, tray) ---
  // Puts a line at the top of the list; text receives the text after the replacements.
  void AddMessage(OleDate time, QString& text, Colour colour);
  bool IsRecentDuplicate(const QString& text) const;
  void ShowPopup();
  // Copies the list into the line labels and works out LastLine; always true.
  bool RefreshLines();
  void LayoutPopup();
  void ExpandPopup();
  void CollapsePopup();
  void SetTopMost();
  void SetNotTopMost();
  // Line 0 bold, both indicators not bold: the handlers' step right after AddMessage.
  void MarkNewestLine();
  // The indicators take the highlight from the newest line without a new line being added.
  void SetNewestLineBold(bool bold);
  // A loader's notice, when popup messages are on: AddMessage with now, RefreshLines,
  // LayoutPopup, then Timer1 runs for MsgTime seconds.
  void LoaderNotice(const QString& text, Colour colour);
  // The tray icon's clicks: "LBUTTONDOWN" and "LBUTTONDOWNSHIFT"; other texts do nothing here.
  void TrayClick(QStringView click);

  // Written by the handlers when an indicator is set; RefreshLines keeps line 0 open after it.
  OleDate IndicatorTime = 0;
  // The popup stays hidden while now is not later than this; 0 = no hold.
  OleDate HiddenUntil = 0;

  std::int16_t LastLine() const { return lastLine_; }
  bool NewMessagePending() const { return newMessagePending_; }
  std::int16_t PopupExpanded() const { return popupExpanded_; }
  const MessageList& messages() const { return list_; }

  // --- Window events ---
  void Form_Load();
  void Form_Resize();
  void Form_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift);
  void Form_MouseUp();
  void lblText_MouseDown(int index, Qt::MouseButton button, Qt::KeyboardModifiers shift);
  void lblText_MouseUp(int index);
  void lblZeit_Click(int index);
  void lblSprechwunsch_Click();
  void lblSpricht_Click();
  void Timer1_Timer();

  // --- Window state, twips ---
  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  bool visible() const { return visible_; }
  bool topMost() const { return topMost_; }
  // Number of loaded elements of lblZeit and lblText (at least 1; never shrinks).
  int lineCount() const { return int(lblZeit_.size()); }
  // Throw Failure for an element that is not loaded.
  const Label& lblZeit(int index) const;
  const Label& lblText(int index) const;
  const Label& lblSprechwunsch() const { return indicators_.lblSprechwunsch(); }
  const Label& lblSpricht() const { return indicators_.lblSpricht(); }
  Indicators& indicators() { return indicators_; }
  QTimer& Timer1() { return timer1_; }
  const QTimer& Timer1() const { return timer1_; }

  // Show and Hide; each change is logged.
  void setVisible(bool visible);
  // Size changes run Form_Resize, as the window's resize event would.
  void setLeft(int twips);
  void setWidth(int twips);
  void setHeight(int twips);
  void setIndicatorVisible(Indicator which, bool visible);
  // A percentage of the screen width in twips (width and left edge of the popup).
  int percentOfScreen(float percent) const;

  // PopupAppearance
  void applyFont(const PopupFont& font) override;
  PopupFont font() const override;
  void applyBackColor(Colour colour) override;
  Colour backColor() const override { return backColor_; }

Q_SIGNALS:
  void geometryChanged();
  void backColorChanged();
  void visibleChanged(bool visible);
  // Every SetTopMost / SetNotTopMost, also when the band does not change: the window comes to the
  // front of its band.
  void stackingRequested(bool topMost);
  // lblZeit(index) or lblText(index) changed, or was loaded.
  void lineChanged(int index);

private:
  double nowSeconds() const;
  bool holdActive() const;
  void pressRule(Qt::MouseButton button, Qt::KeyboardModifiers shift);
  void placeVertically();
  void restartDisplayTimer();
  void runTimer1(double seconds);
  void alignIndicators(int gapToEdge);
  // Moves the indicators to a row of their own below line 0 while line 0's text would run under
  // one that shows a caption, and back to the first row when not; lines 1 and on follow.
  void placeIndicatorRow();
  bool indicatorCoversLineZero() const;
  // Top of line index > 0: right below the line above, and below the indicators' own row.
  int rowTop(const std::vector<Label>& labels, int index) const;
  // The bottom of line i, with the indicators' row when it lies below line 0.
  int lineBottom(int index) const;
  void setTop(int twips);
  void loadLine(int index);
  // Applies a change to a line label, refits its width and announces it when something differs.
  template <typename Change> void changeLine(std::vector<Label>& labels, int index, Change change);
  void fit(Label& label, int designWidth) const;
  void fitIndicator(Indicator which);

  Options& options_;
  const Clock& clock_;
  LinkState& link_;
  const ReplacementTable& replacements_;
  Indicators& indicators_;
  EventLog& log_;
  PopupPorts ports_;

  MessageList list_;
  std::vector<Label> lblZeit_;
  std::vector<Label> lblText_;
  QTimer timer1_;

  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool visible_ = false;
  bool topMost_ = false; // an ordinary window until SetTopMost
  Colour backColor_ = 0;

  std::int16_t lastLine_ = 0;
  bool newMessagePending_ = false;
  std::int16_t popupExpanded_ = 0;
  // Height of the indicators' own row under line 0; 0 while they sit on the first row.
  int indicatorRow_ = 0;
};

} // namespace meldlux
