// The line list and positions over a table of texts, on the rich editor and the plain
// multi-line adapter: a line break always counts two, whatever the widget counts.

#include "editor_test_util.h"

#include <QApplication>

#include <algorithm>
#include <numeric>
#include <random>

namespace {
QString Repeat(char16_t c, int n) { return QString(n, QChar(c)); }
} // namespace

std::vector<TextCase> TextCases()
{
  const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E");  // U+1D11E, two code units
  const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80"); // U+1F600
  return {
      {"empty", "", {""}},
      {"one char", "a", {"a"}},
      {"a CR LF", "a\r\n", {"a", ""}},
      {"lone CR", "a\rb", {"a", "b"}},
      {"lone LF", "a\nb", {"a", "b"}},
      {"only breaks", "\r\n\r\n", {"", "", ""}},
      {"LF then CR is two breaks", "\n\r", {"", "", ""}},
      {"CR then CR LF", "x\r\r\ny", {"x", "", "y"}},
      {"mixed breaks",
       "one\r\ntwo\rthree\nfour\r\n\nfive",
       {"one", "two", "three", "four", "", "five"}},
      {"trailing lone CR", "end\r", {"end", ""}},
      {"unicode separators", QStringLiteral("x\u2028y\u2029z"), {"x", "y", "z"}},
      {"no-break space and tab kept",
       QStringLiteral("a\u00A0b\tc"),
       {QStringLiteral("a\u00A0b\tc")}},
      {"long lines",
       Repeat(u'x', 5000) + "\r\n" + Repeat(u'y', 4097) + "\r\nz",
       {Repeat(u'x', 5000), Repeat(u'y', 4097), "z"}},
      {"non-BMP",
       "a" + smile + "b\r\n" + clef + "\r\n" + smile + smile,
       {"a" + smile + "b", clef, smile + smile}},
  };
}

namespace {

class LineTable : public ::testing::TestWithParam<TSurface> {
protected:
  TSurfaceHolder Holder{GetParam()};
  HWND W = Holder.Window;
};

TEST_P(LineTable, CountsIndexesAndReads)
{
  ASSERT_NE(W, nullptr);
  for (const TextCase &c : TextCases()) {
    SCOPED_TRACE(c.name);
    W->SetText(c.input);
    const int n = int(c.lines.size()) - 1; // number of breaks
    const std::vector<int> starts = LineStarts(c.lines);
    const QString expectedText = c.lines.join(QStringLiteral("\r\n"));

    EXPECT_EQ(W->GetText(), expectedText);
    EXPECT_EQ(W->GetTextLength(), expectedText.size());
    EXPECT_EQ(W->GetLineCount(), n + 1);
    EXPECT_EQ(W->LinesCount(), c.lines.last().isEmpty() ? n : n + 1);

    for (int i = 0; i <= n; ++i) {
      SCOPED_TRACE(i);
      const QString &line = c.lines[i];
      EXPECT_EQ(W->LineIndex(i), starts[size_t(i)]);
      EXPECT_EQ(W->GetLineText(i), line);
      // The line's characters, the position after them and the LF position all belong to it.
      const int last = i < n ? starts[size_t(i)] + int(line.size()) + 1 : expectedText.size();
      for (int p : {starts[size_t(i)], starts[size_t(i)] + int(line.size()) / 2, last}) {
        EXPECT_EQ(W->LineFromChar(p), i) << "pos " << p;
        EXPECT_EQ(W->LineLength(p), line.size()) << "pos " << p;
      }
      // EM_GETLINE through buffers of several capacities: cut at the capacity, no terminator.
      for (int capacity : {1, 3, 4096, 16374}) {
        std::vector<char16_t> buffer(size_t(capacity) + 1, u'#');
        buffer[0] = char16_t(capacity);
        const int copied = W->GetLine(i, buffer.data());
        const int expected = qMin(capacity, int(line.size()));
        ASSERT_EQ(copied, expected) << "capacity " << capacity;
        EXPECT_EQ(QString::fromUtf16(buffer.data(), copied), line.left(expected));
        if (copied > 0)
          EXPECT_EQ(buffer[size_t(copied)], u'#') << "wrote past the copied units";
      }
    }
    // Beyond the last line.
    EXPECT_EQ(W->LineIndex(n + 1), -1);
    EXPECT_EQ(W->LineIndex(n + 100), -1);
    EXPECT_EQ(W->GetLineText(n + 1), QString());
    std::vector<char16_t> buffer(8, u'#');
    buffer[0] = 7;
    EXPECT_EQ(W->GetLine(n + 1, buffer.data()), 0);
    EXPECT_EQ(W->LineFromChar(expectedText.size() + 10), n) << "past the end: the last line";
    EXPECT_EQ(W->GetFirstVisibleLine(), 0) << "a window never shown shows its start";
    ExpectConsistent(W);
  }
}

TEST_P(LineTable, WritingLinesKeepsBreaks)
{
  W->SetText("one\r\ntwo\r\nthree");
  W->SetLineText(1, "TWO!");
  EXPECT_EQ(W->GetText(), "one\r\nTWO!\r\nthree");
  W->SetLineText(2, "");
  EXPECT_EQ(W->GetText(), "one\r\nTWO!\r\n");
  EXPECT_EQ(W->LinesCount(), 2);
  // Line n exists even when it is empty and uncounted; beyond it nothing happens.
  W->SetLineText(2, "back");
  EXPECT_EQ(W->GetText(), "one\r\nTWO!\r\nback");
  W->SetLineText(3, "lost");
  W->SetLineText(-1, "lost");
  EXPECT_EQ(W->GetText(), "one\r\nTWO!\r\nback");
  // A written break is a real line.
  W->SetLineText(0, "o\rn\ne");
  EXPECT_EQ(W->GetText(), "o\r\nn\r\ne\r\nTWO!\r\nback");
  ExpectConsistent(W);
}

TEST_P(LineTable, CaretLineWithMinusOne)
{
  W->SetText("ab\r\ncdef\r\ng");
  W->SetSel(6, 6);
  EXPECT_EQ(W->LineFromChar(-1), 1);
  EXPECT_EQ(W->LineIndex(-1), 4);
  // EM_LINELENGTH(-1): the unselected characters of the lines holding the selection.
  W->SetSel(1, 5);
  EXPECT_EQ(W->LineLength(-1), 1 + 3);
}

TEST_P(LineTable, ConversionsAgreeWithAScanInAnyOrder)
{
  // Runs of empty lines and long lines mixed, read in random order so that no lookup profits
  // from the previous one.
  std::mt19937 rng(7);
  QStringList lines;
  const char *breaks[] = {"\r\n", "\r", "\n"};
  QString input;
  for (int i = 0; i < 400; ++i) {
    const int kind = int(rng() % 10);
    const int length = kind < 4 ? 0 : kind < 9 ? int(rng() % 12) : 200 + int(rng() % 300);
    QString line;
    for (int k = 0; k < length; ++k)
      line += QChar(u'a' + char16_t(rng() % 26));
    lines << line;
  }
  for (int i = 0; i < 400; ++i) {
    input += lines[i];
    if (i == 399)
      break;
    QString br = QString::fromLatin1(breaks[rng() % 3]);
    if (br == "\r" && lines[i + 1].isEmpty())
      br = "\r\n"; // a lone CR before the next line's LF would make one CR LF
    input += br;
  }
  W->SetText(input);
  const QString text = lines.join(QStringLiteral("\r\n"));
  ASSERT_EQ(W->GetText(), text);
  std::vector<int> lineOf(size_t(text.size()) + 1);
  for (int p = 0, line = 0, start = 0; p <= text.size(); ++p) {
    if (line + 1 < lines.size() && p == start + lines[line].size() + 2) {
      start = p;
      ++line;
    }
    lineOf[size_t(p)] = line;
  }
  std::vector<int> order(lineOf.size());
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), rng);
  for (int p : order) {
    ASSERT_EQ(W->LineFromChar(p), lineOf[size_t(p)]) << "pos " << p;
    // Selecting a position and reading it back: unchanged, except between CR and LF.
    const bool betweenCrLf = p > 0 && p < text.size() && text.at(p - 1) == u'\r';
    W->SetSel(p, p);
    int s = 0, e = 0;
    W->GetSel(s, e);
    ASSERT_EQ(s, betweenCrLf ? p - 1 : p) << "pos " << p;
  }
  for (int line : {399, 0, 200, 17, 398, 1})
    EXPECT_EQ(W->LineIndex(line), W->LineIndex(line) >= 0 ? LineStarts(lines)[size_t(line)] : -1);
}

INSTANTIATE_TEST_SUITE_P(Surfaces, LineTable, ::testing::Values(TSurface::Rich, TSurface::Plain),
                         [](const auto &info) { return std::string(SurfaceName(info.param)); });

} // namespace
