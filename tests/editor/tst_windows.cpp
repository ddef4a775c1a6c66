// Window identity: class names and style bits of each adapter, the container walk through
// FromControl, and the single-line edit adapter.

#include "editor_test_util.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

TEST(EditWindows, ClassNamesAndStyleBits)
{
  InstallEditWindowFactory();
  QWidget container;
  auto *rich = new TWrightRichEdit(&container);
  auto *plain = new QPlainTextEdit(&container);
  auto *line = new QLineEdit(&container);
  auto *otherRich = new QTextEdit(&container);

  struct Case {
    const char *name;
    QWidget *widget;
    QString className;
    bool multiLine;
  };
  const Case cases[] = {
      // A rich edit of its own kind: the auto-live component leaves class names with "wright".
      {"editor", rich, "WrightRichEdit20W", true},
      {"other rich text widget", otherRich, "RichEdit20W", true},
      {"plain multi-line", plain, "Edit", true},
      {"single line", line, "Edit", false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = TEditWindow::FromControl(c.widget);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w, TEditWindow::FromControl(c.widget)) << "one window per widget";
    EXPECT_EQ(w->ClassName(), c.className);
    EXPECT_EQ(w->IsMultiLine(), c.multiLine);
    EXPECT_EQ(w->Control(), c.widget);
    // The rich-edit probe: only a rich edit overwrites the preset range.
    int lo = -2, hi = -2;
    w->ExGetSel(lo, hi);
    EXPECT_EQ(lo != -2, c.className.endsWith("RichEdit20W"));
  }
  EXPECT_EQ(static_cast<HWND>(rich), TEditWindow::FromControl(rich))
      << "the editor is its own window";
}

TEST(EditWindows, ContainerWalkFindsTheEditWindowsInOrder)
{
  InstallEditWindowFactory();
  QWidget container;
  auto *layout = new QVBoxLayout(&container);
  auto *label = new QLabel("caption", &container);
  auto *panel = new QWidget(&container);
  auto *inner = new TWrightRichEdit(panel);
  auto *button = new QPushButton("ok", &container);
  layout->addWidget(label);
  layout->addWidget(panel);
  layout->addWidget(button);

  HWND top = TEditWindow::FromControl(&container);
  ASSERT_NE(top, nullptr);
  const std::vector<HWND> children = top->Children();
  ASSERT_EQ(children.size(), 3u);
  EXPECT_EQ(children[0]->Control(), label);
  EXPECT_EQ(children[1]->Control(), panel);
  EXPECT_EQ(children[2]->Control(), button);
  // A container answers no edit message.
  EXPECT_EQ(children[0]->GetText(), QString());
  EXPECT_EQ(children[0]->LineIndex(0), -1);
  EXPECT_EQ(children[2]->GetLineCount(), 0);
  // One level down: the editor.
  const std::vector<HWND> grand = children[1]->Children();
  ASSERT_EQ(grand.size(), 1u);
  EXPECT_EQ(grand[0], static_cast<HWND>(inner));
  EXPECT_TRUE(inner->Children().empty()) << "an edit window's own parts are not windows";

  // A destroyed widget's window is gone from the walk.
  delete button;
  EXPECT_EQ(top->Children().size(), 2u);
  EXPECT_EQ(TEditWindow::FromControl(nullptr), nullptr);
}

TEST(EditWindows, SingleLineEdit)
{
  InstallEditWindowFactory();
  QLineEdit edit;
  HWND w = TEditWindow::FromControl(&edit);
  ASSERT_NE(w, nullptr);

  EXPECT_EQ(w->LinesCount(), 0);
  EXPECT_EQ(w->GetLineCount(), 1);
  w->SetText("hello world");
  EXPECT_EQ(w->GetText(), "hello world");
  EXPECT_EQ(w->GetTextLength(), 11);
  EXPECT_EQ(w->LinesCount(), 1);
  EXPECT_EQ(w->LineIndex(0), 0);
  EXPECT_EQ(w->LineIndex(1), -1);
  EXPECT_EQ(w->LineFromChar(7), 0);
  EXPECT_EQ(w->LineLength(3), 11);
  EXPECT_EQ(w->GetLineText(0), "hello world");
  EXPECT_EQ(w->GetLineText(1), QString());
  for (int capacity : {1, 5, 4096}) {
    std::vector<char16_t> buffer(size_t(capacity) + 1, u'#');
    buffer[0] = char16_t(capacity);
    const int n = w->GetLine(0, buffer.data());
    EXPECT_EQ(n, qMin(capacity, 11));
    EXPECT_EQ(QString::fromUtf16(buffer.data(), n), QString("hello world").left(n));
    EXPECT_EQ(buffer[size_t(n)], u'#');
  }

  w->SetSel(6, 11);
  int s = 0, e = 0;
  w->GetSel(s, e);
  EXPECT_EQ(s, 6);
  EXPECT_EQ(e, 11);
  EXPECT_EQ(w->GetSelText(), "world");
  w->ReplaceSel("there", true);
  EXPECT_EQ(w->GetText(), "hello there");
  EXPECT_TRUE(w->CanUndo());
  w->Undo();
  EXPECT_EQ(w->GetText(), "hello world");
  w->SetSel(0, -1);
  EXPECT_EQ(w->GetSelText(), "hello world");
  w->SetSel(-1, 0);
  w->GetSel(s, e);
  EXPECT_EQ(s, 11);
  EXPECT_EQ(e, 11);

  int changes = 0;
  w->OnChange = [&](TEditWindow *) { ++changes; };
  w->SetLineText(0, "line");
  w->SetLineText(1, "ignored");
  EXPECT_EQ(w->GetText(), "line");
  EXPECT_GT(changes, 0);
  w->OnChange = nullptr;

  edit.resize(200, 30);
  edit.show();
  QApplication::processEvents();
  for (int p : {0, 2, 4}) {
    const QPoint pt = w->PosFromChar(p);
    EXPECT_EQ(w->CharFromPos(pt + QPoint(0, 2)), p) << p;
  }
  EXPECT_LT(w->PosFromChar(1).x(), w->PosFromChar(3).x());
  EXPECT_EQ(w->PosFromChar(5), QPoint(-1, -1));

  // Scrolled to its end, the start lies left of the window and the end is still found.
  w->SetText(QString(300, QChar(u'm')));
  w->SetSel(300, 300);
  QApplication::processEvents();
  EXPECT_LT(w->PosFromChar(0).x(), 0);
  for (int p : {290, 295, 300}) {
    const QPoint pt = w->PosFromChar(p);
    EXPECT_GE(pt.x(), 0) << p;
    EXPECT_EQ(w->CharFromPos(pt + QPoint(0, 2)), p) << p;
  }

  w->Clear();
  EXPECT_EQ(w->GetText(), QString());
  EXPECT_FALSE(w->Modified());
}

} // namespace
