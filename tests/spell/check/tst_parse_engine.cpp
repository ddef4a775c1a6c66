#include "parser_test_util.h"

#include <gtest/gtest.h>

TEST(ParseEngine, DefaultCharSetIsExactly189UnitsInOrder)
{
  const QString set = TMainParsingEngine::DefaultCharSet();
  ASSERT_EQ(set.size(), 189);
  EXPECT_EQ(set.at(0), QChar(0x2019));
  EXPECT_EQ(set.mid(1, 12), QStringLiteral("1234567890&'"));
  EXPECT_EQ(set.at(13), QChar(u'a'));
  EXPECT_EQ(set.at(64), QChar(u'Z'));
  EXPECT_EQ(set.at(65), QChar(0x00C0));
  EXPECT_EQ(set.at(128), QChar(0x00FF));
  EXPECT_EQ(set.at(129), QChar(0x00B8));
  EXPECT_EQ(set.at(188), QChar(0x00A6));
  EXPECT_EQ(set.count(QChar(0x00B3)), 2);
  EXPECT_FALSE(set.contains(QChar(0x00A3)));
  TMainParsingEngine engine;
  EXPECT_EQ(engine.CharSet(), set);
}

TEST(ParseEngine, CharacterClasses)
{
  struct Case {
    char16_t u;
    bool word, start, middle, end;
  };
  const Case cases[] = {
      {u'a', true, true, true, true},
      {u'7', true, true, true, true},
      {u'\'', true, false, true, false},  // inside words only
      {0x2019, true, false, true, false}, // right single quote likewise
      {u'&', true, true, false, true},    // may begin a word, never stand inside one
      {u'"', false, false, false, false},
      {u'.', false, false, false, false},
      {u'-', false, false, false, false},
      {u' ', false, false, false, false},
      {u'\r', false, false, false, false},
      {0x00D7, true, true, true, true},     // in the set although no letter
      {0x00A6, true, true, true, true},     // from the extra code-page letters
      {0x009D, true, true, true, true},     // a control code, but a letter of another code page
      {0x0080, false, false, false, false}, // a control code not in the set
      {0x00B5, true, true, true, true},     // micro sign: a letter by classification alone
      {0x00A7, false, false, false, false},
      {0x00A3, false, false, false, false}, // only with the Central European rule
      {0x00FF, true, true, true, true},     // answered by the slow path
      {0x0161, true, true, true, true},
      {0x0436, true, true, true, true}, // Cyrillic letter: platform classification
      {0x2013, false, false, false, false},
      {0x3000, false, false, false, false},
  };
  TMainParsingEngine engine;
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "U+" << std::hex << unsigned(c.u));
    EXPECT_EQ(engine.IsWordChar(QChar(c.u)), c.word);
    EXPECT_EQ(engine.IsWordStartChar(QChar(c.u)), c.start);
    EXPECT_EQ(engine.IsWordMiddleChar(QChar(c.u)), c.middle);
    EXPECT_EQ(engine.IsWordEndChar(QChar(c.u)), c.end);
  }
}

TEST(ParseEngine, ForbidCharSetOverridesLettersAndTheSet)
{
  TMainParsingEngine engine;
  engine.SetForbidCharSet(QString() + QChar(u'x') + QChar(0x0436) + QChar(0x0161) + QChar(u'\''));
  EXPECT_FALSE(engine.IsWordChar(QChar(u'x')));
  EXPECT_FALSE(engine.IsWordChar(QChar(0x0436)));
  EXPECT_FALSE(engine.IsWordChar(QChar(0x0161)));
  EXPECT_FALSE(engine.IsWordChar(QChar(u'\'')));
  EXPECT_TRUE(engine.IsWordChar(QChar(u'y')));
  EXPECT_EQ(WordsOf(engine, QStringLiteral("axb don't")), (QStringList{"a", "b", "don", "t"}));
  engine.SetForbidCharSet(QString());
  EXPECT_TRUE(engine.IsWordChar(QChar(u'x')));
  EXPECT_TRUE(engine.IsWordChar(QChar(0x0161)));
  // Extra characters can be added through the set.
  engine.SetCharSet(engine.CharSet() + QChar(u'-') + QChar(0x2013));
  EXPECT_EQ(WordsOf(engine, QStringLiteral("well-known x\u2013y")),
            (QStringList{"well-known", "x\u2013y"}));
}

TEST(ParseEngine, WordBreaking)
{
  TMainParsingEngine engine;
  for (const WordCase &c : WordCases()) {
    const QString text = QString::fromUtf8(c.text);
    EXPECT_EQ(WordsOf(engine, text), c.words) << c.text << " -> " << Show(WordsOf(engine, text));
  }
}

TEST(ParseEngine, MidPeriodCanBeSwitchedOff)
{
  TMainParsingEngine engine;
  engine.AllowMidPeriod = false;
  EXPECT_EQ(WordsOf(engine, QStringLiteral("3.14 e.g. end.")),
            (QStringList{"3", "14", "e", "g", "end"}));
}

TEST(ParseEngine, FrenchExceptions)
{
  TMainParsingEngine engine;
  engine.SetLanguage(0x040C);
  EXPECT_TRUE(engine.AllowFrenchExceptions());
  for (const WordCase &c : FrenchWordCases()) {
    const QString text = QString::fromUtf8(c.text);
    EXPECT_EQ(WordsOf(engine, text), c.words) << c.text << " -> " << Show(WordsOf(engine, text));
  }
  // Canadian French is French too (primary language in the low byte).
  TMainParsingEngine canadian;
  canadian.SetLanguage(0x0C0C);
  EXPECT_EQ(WordsOf(canadian, QStringLiteral("l'homme")), (QStringList{"l", "homme"}));
}

TEST(ParseEngine, RepeatedFrenchThenEnglishRestoresApostrophe)
{
  TMainParsingEngine engine;
  engine.SetLanguage(0x040C);
  engine.SetLanguage(0x040C);
  engine.SetAllowFrenchExceptions(true);
  EXPECT_EQ(engine.ForbidMidWord.count(QChar(u'\'')), 1);
  engine.SetLanguage(0x0409);
  EXPECT_FALSE(engine.AllowFrenchExceptions());
  EXPECT_EQ(engine.ForbidMidWord, QStringLiteral("&"));
  EXPECT_EQ(WordsOf(engine, QStringLiteral("don't")), QStringList{"don't"});
}

TEST(ParseEngine, PoundSignFollowsCentralEuropeanLanguages)
{
  const QString text = QStringLiteral("x\u00A3y");
  TMainParsingEngine engine;
  EXPECT_EQ(WordsOf(engine, text), (QStringList{"x", "y"}));
  for (quint32 lang : {0x0415u, 0x0405u, 0x040Eu}) {
    SCOPED_TRACE(lang);
    engine.SetLanguage(lang);
    EXPECT_TRUE(engine.IsWordChar(QChar(0x00A3)));
    EXPECT_EQ(engine.CharSet().count(QChar(0x00A3)), 1); // added once however often set
    EXPECT_EQ(WordsOf(engine, text), QStringList{text});
  }
  engine.SetLanguage(0x0409);
  EXPECT_FALSE(engine.IsWordChar(QChar(0x00A3)));
  EXPECT_EQ(engine.CharSet(), TMainParsingEngine::DefaultCharSet());
  EXPECT_EQ(WordsOf(engine, text), (QStringList{"x", "y"}));
  // A pound sign the program put into the set itself: the first one goes.
  engine.SetCharSet(engine.CharSet() + QChar(0x00A3) + QChar(0x00A3));
  engine.SetLanguage(0x0407);
  EXPECT_EQ(engine.CharSet().count(QChar(0x00A3)), 1);
}

TEST(ParseEngine, IncompleteWordAtTheEndLimit)
{
  for (bool allow : {false, true}) {
    SCOPED_TRACE(allow);
    QString text = QStringLiteral("hello world");
    TStringParser parser;
    parser.Initialize(&text);
    parser.SetPosition(9, 0, ptEnd); // the limit cuts "world" after "wor"
    TMainParsingEngine engine;
    engine.AllowIncompleteLastWord = allow;
    EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("hello"));
    const QString cut = engine.NextWord(&parser);
    if (allow) {
      EXPECT_EQ(cut, QStringLiteral("wor"));
      int x = 0, y = 0;
      parser.GetPosition(x, y);
      EXPECT_EQ(text.mid(x - 1 - 3, 3), cut);
    } else {
      EXPECT_TRUE(cut.isEmpty());
    }
    EXPECT_TRUE(engine.NextWord(&parser).isEmpty());
  }
  // A word that ends exactly at the limit is complete.
  QString text = QStringLiteral("hello world");
  TStringParser parser;
  parser.Initialize(&text);
  parser.SetPosition(6, 0, ptEnd);
  TMainParsingEngine engine;
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("hello"));
  EXPECT_TRUE(engine.NextWord(&parser).isEmpty());
}

TEST(ParseEngine, EndOfTextKeepsTheCurrentWord)
{
  QString text = QStringLiteral("abc ... ");
  TStringParser parser;
  parser.Initialize(&text);
  TMainParsingEngine engine;
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("abc"));
  EXPECT_TRUE(engine.NextWord(&parser).isEmpty());
  EXPECT_EQ(engine.CurrentWord(), QStringLiteral("abc"));
  EXPECT_TRUE(engine.NextWord(nullptr).isEmpty());
}

TEST(ParseEngine, PreCheckHandlerSkipsWordsWithinOneCall)
{
  TMainParsingEngine engine;
  QStringList offered;
  engine.OnPreCheckIgnore = [&](const QString &w, TControlParser *, bool &ignore) {
    offered << w;
    ignore = w.startsWith(u"skip");
  };
  QString text = QStringLiteral("one skip skipped two");
  TStringParser parser;
  parser.Initialize(&text);
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("one"));
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("two"));
  EXPECT_EQ(offered, (QStringList{"one", "skip", "skipped", "two"}));
  EXPECT_EQ(engine.CurrentWord(), QStringLiteral("two"));
}

TEST(ParseEngine, InlineHandlerSeesCharactersBetweenWordsAndCanSkip)
{
  // A handler that skips "#..." up to the next space.
  TMainParsingEngine engine;
  QString seen;
  engine.OnInlineIgnore = [&](QChar c, TControlParser *p, bool &ignore) {
    seen += c;
    if (c != u'#')
      return;
    while (p->GetChar() != u' ' && p->MoveNext()) {
    }
    ignore = true;
  };
  EXPECT_EQ(WordsOf(engine, QStringLiteral("a #tag b")), (QStringList{"a", "b"}));
  // Every character examined between words, word starts included; 0 at the end of the text.
  EXPECT_EQ(seen, QStringLiteral("a # b") + QChar(0));
}

TEST(ParseEngine, InitializeAndAdjustToPosition)
{
  QString text = QStringLiteral("alpha beta gamma");
  TStringParser parser;
  parser.Initialize(&text);
  TMainParsingEngine engine;
  // From the cursor: a position inside "beta" gives the whole word.
  parser.SetPosition(9, 0, ptCurrent);
  engine.Initialize(&parser, 1);
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("beta"));
  // All: back to the start.
  engine.Initialize(&parser, 2);
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("alpha"));
  // Adjusting inside the first word stops on the first character of the text.
  engine.AdjustToPosition(&parser, 3, 0);
  int x = 0, y = 0;
  parser.GetPosition(x, y);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("alpha"));
  // Current: the cursor stays where it is.
  engine.Initialize(&parser, 4);
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("beta"));
  engine.Initialize(nullptr, 2); // no parser: nothing happens
}
