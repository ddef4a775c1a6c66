#pragma once
// Shared helpers for the editing-surface tests: the adapters under test and an oracle that
// derives every line figure from the expected lines alone.

#include "rtEditWindow.h"
#include "rtWidgetWindow.h"
#include "wrRichEdit.h"

#include <QPlainTextEdit>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

// Which widget stands behind the window under test.
enum class TSurface { Rich, Plain };

inline const char *SurfaceName(TSurface s) { return s == TSurface::Rich ? "Rich" : "Plain"; }

// Owns a top-level widget and hands out its edit window.
struct TSurfaceHolder {
  std::unique_ptr<QWidget> Widget;
  HWND Window = nullptr;

  explicit TSurfaceHolder(TSurface kind)
  {
    InstallEditWindowFactory();
    if (kind == TSurface::Rich)
      Widget = std::make_unique<TWrightRichEdit>();
    else
      Widget = std::make_unique<QPlainTextEdit>();
    Widget->resize(420, 300);
    Window = TEditWindow::FromControl(Widget.get());
  }
};

// Positions where line i starts when every break counts two.
inline std::vector<int> LineStarts(const QStringList &lines)
{
  std::vector<int> starts;
  int pos = 0;
  for (const QString &l : lines) {
    starts.push_back(pos);
    pos += int(l.size()) + 2;
  }
  return starts;
}

// Checks that the line list and the whole text tell the same story (every break a line).
inline void ExpectConsistent(HWND w)
{
  const QString text = w->GetText();
  const QStringList lines = text.split(QStringLiteral("\r\n"));
  EXPECT_EQ(w->GetTextLength(), text.size());
  ASSERT_EQ(w->GetLineCount(), lines.size()) << text.toStdString();
  const std::vector<int> starts = LineStarts(lines);
  for (int i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(w->GetLineText(i), lines[i]) << "line " << i;
    EXPECT_EQ(w->LineIndex(i), starts[size_t(i)]) << "line " << i;
  }
  EXPECT_EQ(w->LineIndex(int(lines.size())), -1);
  // No stray break characters inside a line.
  for (const QString &l : lines)
    for (QChar c : l)
      EXPECT_TRUE(c != u'\r' && c != u'\n' && c != QChar(0x2028) && c != QChar(0x2029))
          << "break character inside a line: " << text.toStdString();
}

// The table of texts shared by the line and screen tests.
struct TextCase {
  const char *name;
  QString input;     // given to SetText
  QStringList lines; // the lines it must split into (line 0 .. n)
};
std::vector<TextCase> TextCases();
