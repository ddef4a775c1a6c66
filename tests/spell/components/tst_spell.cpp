// TWrightSpellDialogs: the dialog it creates, host-supplied dialogs, the folder browser with the
// real folder chooser, the interface language switch and the interface fonts.

#include "print_qstring.h"
#include "probe_spell.h"
#include "wrConfigurationDialog.h"
#include "wrConfigurationDialogCtrl.h"
#include "wrConfigurationDialogOffice.h"
#include "wrCustomDictionariesDialog.h"
#include "wrCustomDictionaryEditDialog.h"
#include "wrSpellDialog.h"
#include "wrSpellDialogOffice.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace {

TEST(WrightSpellDialogs, DefaultsAndTheDictionaryPagesOnTheProgramsHost)
{
  TProbeSpell s;
  EXPECT_EQ(s.UIType(), suiDialog);
  EXPECT_EQ(s.DialogTypeSpelling, sdOffice);
  EXPECT_EQ(s.DialogMisspelledWordColor(), QColor(Qt::red));
  EXPECT_EQ(s.DialogMisspelledWordStyle(), TFontStyles(TFontStyle::fsBold));
  // The pages' paths are fixed; only the host is ours.
  EXPECT_EQ(s.URLDownloadDictionaries, "https://linewright.org/dl-dictionaries.htm?app=%AppName%");
  EXPECT_EQ(s.URLEditDictionaries, "https://linewright.org/ed-dictionaries.htm?app=%AppName%");
  EXPECT_EQ(s.DownloadDictionariesURL(), s.URLDownloadDictionaries);
  EXPECT_EQ(s.UILanguageFontControls().pixelSize(), 11);
  EXPECT_NE(s.CheckHost(), nullptr);
}

TEST(WrightSpellDialogs, ALanguageWithoutOfficeTextsTurnsBothDialogTypesClassic)
{
  TProbeSpell s;
  s.SetUILanguage(TSpellLanguageType::ltEnglish);
  EXPECT_EQ(s.DialogTypeSpelling, sdOffice);
  s.SetUILanguage(TSpellLanguageType::ltSwedish);
  EXPECT_EQ(s.UILanguage(), TSpellLanguageType::ltSwedish);
  EXPECT_EQ(s.DialogTypeSpelling, sdClassic);
  EXPECT_EQ(s.DialogTypeConfiguration, sdClassic);
}

TEST(WrightSpellDialogs, TheDialogTypeChoosesTheDialog)
{
  TProbeSpell s;
  std::unique_ptr<QObject> office(s.CreateAndBind());
  EXPECT_NE(qobject_cast<TSpellDialogV4 *>(office.get()), nullptr);
  s.DialogTypeSpelling = sdClassic;
  std::unique_ptr<QObject> classic(s.CreateAndBind());
  EXPECT_NE(qobject_cast<TSpellDialog *>(classic.get()), nullptr);
}

TEST(WrightSpellDialogs, TheSpellingDialogBelongsToTheWindowOfTheCheckedControl)
{
  QWidget window;
  auto *control = new QWidget(&window);
  TProbeSpell s;
  s.setParent(&window);
  // A host form replaces the built-in one and learns the owner.
  QObject *ownerSeen = nullptr;
  s.OnCreateWrightDialog = [&](QObject *, QObject *owner, TWrightDialog d, QDialog *&form) {
    ownerSeen = owner;
    if (d == adSpellDialog)
      form = new TSpellDialogV4(control->window());
  };
  std::unique_ptr<QObject> form(s.CreateAndBind());
  EXPECT_EQ(ownerSeen, &window);
  auto *d = qobject_cast<QDialog *>(form.get());
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->parentWidget(), &window);
  EXPECT_EQ(d->windowTitle(), "Spelling");
  s.setParent(nullptr);
}

TEST(WrightSpellDialogs, InterfaceFontsGoToControlsAndTextAreasOnlyWhenAskedFor)
{
  TProbeSpell s;
  QFont controls("Liberation Serif", 12), text("Liberation Mono", 10);
  s.SetUILanguageFontControls(controls);
  s.SetUILanguageFontText(text);
  std::unique_ptr<TSpellDialogV4> d(dynamic_cast<TSpellDialogV4 *>(s.CreateAndBind()));
  EXPECT_NE(d->IgnoreButton->font().family(), "Liberation Serif");
  s.UILanguageUseFonts = true;
  s.SetupFormFonts(d.get(), true);
  EXPECT_EQ(d->IgnoreButton->font().family(), "Liberation Serif");
  EXPECT_EQ(d->NotFoundText->font().family(), "Liberation Serif");
  EXPECT_EQ(d->NotFoundRichEdit->font().family(), "Liberation Serif");
  EXPECT_EQ(d->SuggestionsListbox->font().family(), "Liberation Mono");
  s.SetupFormFonts(d.get(), false);
  EXPECT_EQ(d->SuggestionsListbox->font().family(), "Liberation Serif");
}

TEST(WrightSpellDialogs, HostEventsAndHostFormsForTheOptionsDialog)
{
  TProbeSpell s;
  int created = 0, bound = 0;
  s.OnCreateWrightDialog = [&](QObject *, QObject *, TWrightDialog d, QDialog *&form) {
    if (d != adSpellConfigurationDialog)
      return;
    ++created;
    auto *dlg = new QDialog;
    auto *ctrl = new TConfigurationDialogCtrl(dlg);
    ctrl->OnConfigurationAvailable = [&](QObject *) { ++bound; };
    QTimer::singleShot(0, dlg, [dlg] { dlg->accept(); });
    form = dlg;
  };
  s.Setup();
  EXPECT_EQ(created, 1);
  EXPECT_EQ(bound, 1); // the component binds the host form's controller
  int handled = 0;
  s.OnShowConfigDialog = [&](QObject *, QObject *) { ++handled; };
  s.Setup();
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(created, 1);
}

TEST(WrightSpellDialogs, AFolderChosenInTheFolderChooserBecomesADictionaryFolder)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TProbeSpell s;
  TBrowseInfo seen;
  s.OnBrowseForFolder = [&](QObject *, QObject *, const TBrowseInfo &info, QString &, bool &) {
    seen = info;
  };
  // The real chooser: pick the folder and accept, from inside its modal loop.
  QString title;
  QTimer::singleShot(0, [&] {
    for (QWidget *w : QApplication::topLevelWidgets())
      if (auto *fd = qobject_cast<QFileDialog *>(w); fd && fd->isVisible()) {
        title = fd->windowTitle();
        EXPECT_EQ(fd->fileMode(), QFileDialog::Directory);
        fd->setDirectory(dir.path());
        fd->selectFile(dir.path());
        QMetaObject::invokeMethod(fd, "accept");
      }
  });
  s.SetupAddDictionaryDir();
  EXPECT_EQ(seen.Title, "Select a folder containing dictionaries...");
  EXPECT_EQ(seen.Flags, BIF_RETURNONLYFSDIRS | BIF_EDITBOX);
  EXPECT_EQ(title, "Select a folder containing dictionaries...");
  const TStringList &paths = s.Configuration()->NewDictionaryPaths();
  ASSERT_EQ(paths.Count(), 1);
  EXPECT_EQ(QDir(paths.Strings(0)).canonicalPath(), QDir(dir.path()).canonicalPath());
}

TEST(WrightSpellDialogs, AHandlerMaySupplyOrCancelTheFolder)
{
  struct Case {
    const char *name;
    QString folder;
    bool cancel;
    int added;
  };
  const Case cases[] = {{"supplied", "/srv/dicts", false, 1},
                        {"cancelled", "/srv/dicts", true, 0},
                        {"cancelled, none", "", true, 0}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TProbeSpell s;
    s.OnBrowseForFolder = [&](QObject *, QObject *, const TBrowseInfo &, QString &folder,
                              bool &canceled) {
      folder = c.folder;
      canceled = c.cancel;
    };
    s.SetupAddDictionaryDir(); // no chooser opens: it would block here
    EXPECT_EQ(s.Configuration()->NewDictionaryPaths().Count(), c.added);
  }
}

// Runs Act on the modal dialog that opens next, from inside its loop; Seen names its class.
void AtNextModal(QString &Seen, const std::function<void(QDialog *)> &Act = {})
{
  QTimer::singleShot(0, [&Seen, Act] {
    auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    Seen = QString::fromLatin1(d->metaObject()->className());
    if (Act)
      Act(d);
    d->done(QDialog::Accepted);
  });
}

TEST(WrightSpellDialogs, TheDialogCommandsOpenTheBuiltInDialogs)
{
  struct Case {
    const char *name;
    TSpellDialogType type;
    std::function<void(TProbeSpell &)> open;
    const char *dialog;
  };
  const Case cases[] = {
      {"options", sdOffice, [](TProbeSpell &s) { s.Setup(); }, "TSpellCheckConfigDialogV4"},
      {"classic options", sdClassic, [](TProbeSpell &s) { s.Setup(); }, "TSpellCheckConfigDialog"},
      {"dictionaries", sdOffice, [](TProbeSpell &s) { s.SetupCustomDictionaries(); },
       "TCustomDictionariesDialog"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TProbeSpell s;
    s.DialogTypeConfiguration = c.type;
    QString seen, title;
    AtNextModal(seen, [&](QDialog *d) { title = d->windowTitle(); });
    c.open(s);
    EXPECT_EQ(seen, c.dialog);
    EXPECT_FALSE(title.startsWith("xx")) << "the component bound the dialog's controller";
  }
}

TEST(WrightSpellDialogs, TheEditorEditsTheGivenDictionaryAndDocumentsAreCheckedAgain)
{
  TProbeSpell s;
  TCustomDictionary dictionary;
  int changed = 0;
  s.OnConfigChanged = [&](QObject *) { ++changed; };
  QString seen;
  AtNextModal(seen, [&](QDialog *d) {
    auto *editor = qobject_cast<TCustomDictionaryEditDialog *>(d);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->DialogControl->CustomDictionary(), &dictionary);
  });
  s.EditCustomDictionary(&dictionary);
  EXPECT_EQ(seen, "TCustomDictionaryEditDialog");
  EXPECT_GE(changed, 1);
}

TEST(WrightSpellDialogs, OptionsFromTheSpellingDialogLeaveItsControllerBound)
{
  TProbeSpell s;
  s.SetChecking(true);
  std::unique_ptr<TSpellDialogV4> spelling(dynamic_cast<TSpellDialogV4 *>(s.CreateAndBind()));
  ASSERT_NE(spelling, nullptr);
  s.BindDialogController(spelling.get(), nullptr);
  TSpellDialogController *bound = s.DialogController();
  ASSERT_EQ(bound, static_cast<TSpellDialogController *>(spelling->DialogControl));
  s.SetWord("wrod", false);
  QString seen;
  AtNextModal(seen);
  spelling->OptionsButton->click(); // the Options button reaches Setup
  EXPECT_EQ(seen, "TSpellCheckConfigDialogV4");
  EXPECT_EQ(s.DialogController(), bound);
}

} // namespace
