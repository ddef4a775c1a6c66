#pragma once
// TNewCustomDictionary: asks for the name of a custom dictionary to create. The entry itself is
// not validated; callers turn the text into a file name with NewCustomDictionaryName.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TConfigurationDialogCtrl;

class TNewCustomDictionary : public QDialog {
  Q_OBJECT
public:
  explicit TNewCustomDictionary(QWidget *Parent = nullptr);

  QLabel *EditLabel;
  QLineEdit *NameEdit;
  QPushButton *OKButton;
  QPushButton *CancelButton;
  TConfigurationDialogCtrl *DialogControl;

  // Widens the dialog (never below its design width) so that its title, in a desktop's title
  // font and beside the frame's buttons, and its label show whole; run again after a font change.
  void FitToTexts();

protected:
  static constexpr int DesignWidth = 231;

  void DialogControlConfigurationAvailable(QObject *Sender);
};

// The dictionary file name made from what the user typed: the file-name part (any folder
// removed, "\" and "/" alike), blanks around it removed, its extension set to ".wdu". An empty
// text gives ".wdu". Empty instead when the name cannot be a dictionary of the folder: it holds a
// control character (a line break would also split the configuration line that names it), it
// is longer than a file name may be (255 bytes).
QString NewCustomDictionaryName(const QString &Text);

// Runs the new-dictionary dialog for the component behind Control and answers the dictionary
// name made from the text entered (NewCustomDictionaryName); empty when the user cancelled or
// the text cannot name a dictionary.
QString AskNewCustomDictionaryName(QWidget *Owner, TConfigurationDialogCtrl *Control);
