#pragma once
// The options and custom dictionary dialogs over a real spell component and real files: two
// compiled main dictionaries and custom dictionaries in a temporary folder, the desktop folders
// (trash, configuration) inside it too, and message boxes answered by the test. Modal dialogs
// are driven from inside their own loop (AtNextModal).

#include "env_guard.h"
#include "rtErrorBox.h"
#include "wdmcCompiler.h"
#include "wrCustomDictionary.h"
#include "wrNewCustomDictionaryDialog.h"
#include "wrSpell.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// The component with the program's settings and its dialog binding opened for tests.
class TDialogSpell : public TWrightSpellDialogs {
public:
  TDialogSpell()
  {
    SetConfigStorage(csNone);
    SetConfigAvailableOptions({soLiveSpelling, soLiveCorrect, soUpcase, soNumbers, soPrimaryOnly,
                               soRepeated, soDUalCaps});
    SetConfigUseMSWordCustom(false);
    TSpellDialogCommands commands = TSpellDialogCommands::Range(sdcIgnore, sdcOptions);
    for (TSpellDialogCommand c : {sdcConfigOK, sdcAddedEdit, sdcAutoCorrectEdit, sdcExcludedEdit,
                                  sdcInternalEdit, sdcMainDictFolderBrowse, sdcResetDefaults})
      commands.Include(c);
    SetCommandsVisible(commands);
    SetCommandsEnabled(commands);
  }
  using TWrightSpellBase::BindDialogController;
  QObject *BoundController() const { return FDialogCtrl; }
  void SetChecking(bool Value) { FChecking = Value; }
};

class DictionaryDialogTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(Temp.isValid());
    Dir = Temp.path() + QStringLiteral("/Dictionaries");
    ASSERT_TRUE(QDir().mkpath(Dir));
    Data = std::make_unique<TEnvGuard>("XDG_DATA_HOME", (Temp.path() + "/data").toUtf8());
    Config = std::make_unique<TEnvGuard>("XDG_CONFIG_HOME", (Temp.path() + "/config").toUtf8());
    WriteWdm("english.wdm", "English words", {"colour", "word"});
    WriteWdm("second.wdm", "Second words", {"zweite"});
    WriteWdu("mine.wdu", {"alpha", "beta", "gamma"}, {{"teh", "the"}}, {"colour"});
    WriteWdu("Autocorrect.wdu", {}, {{"adn", "and"}}, {});
    WriteWdu("other.wdu", {"otherword"}, {}, {});
    Spell = std::make_unique<TDialogSpell>();
    TStringList folders, main, custom, prevent;
    folders.Add(Dir);
    Spell->SetConfigDictionaryDir(folders);
    main.Add("english.wdm");
    Spell->SetConfigDefaultMain(main);
    custom.Add("Autocorrect.wdu");
    custom.Add("other.wdu");
    Spell->SetConfigDefaultCustom(custom);
    Spell->SetConfigDefaultActiveCustom("mine.wdu");
    Spell->SetConfigDefaultOptions({soLiveSpelling, soLiveCorrect, soRepeated, soDUalCaps});
    OldBox = SetMessageBoxHandler(
        [this](QWidget *, const QString &text, const QString &caption, unsigned flags) {
          Boxes << caption + "|" + text;
          BoxFlags = flags;
          return BoxAnswer;
        });
  }
  void TearDown() override
  {
    SetMessageBoxHandler(OldBox);
    Spell.reset();
  }

  void WriteWdm(const QString &name, const QString &title, const QStringList &words)
  {
    TMainDictionarySource source;
    source.words = words;
    source.title = title;
    source.language = 3081;
    source.minorVersion = 1;
    QByteArray image;
    QString error;
    ASSERT_TRUE(CompileMainDictionary(source, image, error, nullptr)) << error.toStdString();
    QFile f(Dir + "/" + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(image);
  }
  void WriteWdu(const QString &name, const QStringList &ignore,
                const QList<std::pair<QString, QString>> &pairs, const QStringList &exclude)
  {
    TCustomDictionary d;
    d.SetFilename(Dir + "/" + name);
    d.SetLoaded(true);
    for (const QString &w : ignore)
      d.AddIgnore(w);
    for (const auto &[w, c] : pairs)
      d.AddAutoCorrect(w, c);
    for (const QString &w : exclude)
      d.AddExclude(w);
    d.SetModified(true);
    d.Save();
  }
  // The words of a dictionary file as a fresh object reads them.
  QStringList IgnoreWords(const QString &name)
  {
    TCustomDictionary d;
    d.SetFilename(Dir + "/" + name);
    QStringList out;
    for (int i = 0; i < d.IgnoreCount(); ++i)
      out << d.GetIgnoreWord(unsigned(i));
    out.sort();
    return out;
  }
  QStringList FilesIn(const QString &folder) const
  {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }

  // Runs Act on the next modal dialog of type T once its loop runs (then Act usually closes it).
  template <class T>
  static void AtNextModal(std::function<void(T *)> Act)
  {
    QTimer::singleShot(0, [Act] {
      auto *d = qobject_cast<T *>(QApplication::activeModalWidget());
      ASSERT_NE(d, nullptr) << "no modal dialog of the expected type";
      Act(d);
    });
  }
  // Answers the next new-dictionary dialog with Text (OK) or cancels it.
  static void AnswerNewName(const QString &Text, bool Ok = true)
  {
    AtNextModal<TNewCustomDictionary>([Text, Ok](TNewCustomDictionary *d) {
      d->NameEdit->setText(Text);
      Ok ? d->accept() : d->reject();
    });
  }
  static QStringList Rows(const QTreeWidget *list, int column = 0)
  {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      out << list->topLevelItem(i)->text(column);
    return out;
  }

  QTemporaryDir Temp;
  QString Dir;
  std::unique_ptr<TEnvGuard> Data, Config;
  std::unique_ptr<TDialogSpell> Spell;
  TMessageBoxHandler OldBox;
  QStringList Boxes;
  unsigned BoxFlags = 0;
  int BoxAnswer = IDYES;
};
