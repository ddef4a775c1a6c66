#pragma once
// The real editor with its live engine, attached to a check session over the small fixture
// dictionaries, painted offscreen. Grab() paints the editor's client area into an image the
// way the screen would show it.

#include "session_fixture.h"

#include "wrLiveRichEdit.h"
#include "wrRichEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

inline const QColor LiveRed(255, 0, 0);

class LiveTest : public SessionTest {
protected:
  void SetUp() override
  {
    SessionTest::SetUp();
    InstallLiveRichEditFactory();
    Spell = NewSession({soLiveSpelling, soLiveCorrect, soDUalCaps});
    Editor = std::make_unique<TWrightRichEdit>();
    Editor->resize(500, 300);
    Engine = dynamic_cast<TWrightLiveRichEdit *>(Editor->LiveInterface());
    ASSERT_NE(Engine, nullptr);
    Editor->SetWrightSpell(Spell.get());
    Editor->show();
    QApplication::processEvents();
  }

  void TearDown() override
  {
    Editor.reset();
    Spell.reset();
  }

  HWND Window() const { return Editor.get(); }

  // A plain QTextEdit of another program's kind, shown with Text, for the subclass to attach to.
  static std::unique_ptr<QTextEdit> ShownForeignEdit(const QString &Text)
  {
    auto edit = std::make_unique<QTextEdit>();
    edit->resize(400, 200);
    edit->setPlainText(Text);
    edit->show();
    QApplication::processEvents();
    return edit;
  }

  // Paints the client area (twice: the first paint after a resize is never buffered).
  QImage Grab(int times = 2)
  {
    QImage image;
    for (int i = 0; i < times; ++i)
      image = Editor->viewport()->grab().toImage();
    return image;
  }

  // The misspellings the cache holds for a line, as (X1, X2).
  std::vector<std::pair<int, int>> Errors(int line) const
  {
    std::vector<std::pair<int, int>> result;
    if (const TLineCache *c = Engine->LineCache(line))
      for (const TSpellingError &e : c->SpellingErrors)
        result.emplace_back(e.X1, e.X2);
    return result;
  }

  void SendKey(QWidget *w, int key, const QString &text)
  {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
  }

  void Type(QWidget *w, const QString &text)
  {
    for (QChar c : text)
      SendKey(w, c == u' ' ? int(Qt::Key_Space) : c.toUpper().unicode(), QString(c));
  }

  // Rows of the image holding the underline colour between columns [x1, x2).
  static std::vector<int> RedRows(const QImage &image, int x1, int x2, int yFrom = 0, int yTo = -1)
  {
    std::vector<int> rows;
    if (yTo < 0)
      yTo = image.height();
    for (int y = qMax(0, yFrom); y < qMin(yTo, image.height()); ++y)
      for (int x = qMax(0, x1); x < qMin(x2, image.width()); ++x)
        if ((image.pixel(x, y) & 0xFFFFFF) == (LiveRed.rgb() & 0xFFFFFF)) {
          rows.push_back(y);
          break;
        }
    return rows;
  }

  std::unique_ptr<TTestSession> Spell;
  std::unique_ptr<TWrightRichEdit> Editor;
  TWrightLiveRichEdit *Engine = nullptr;
};
