#pragma once
// The application's message boxes and error box, and the guard that turns an error escaping a
// command into that box instead of ending the program.
//
// Every box goes through one replaceable handler, so tests can answer boxes without a modal
// loop blocking them.

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>

class QWidget;

// MessageBox flags and answers, with the values the rest of the program knows them by.
enum : unsigned {
  MB_OK = 0x0,
  MB_OKCANCEL = 0x1,
  MB_YESNOCANCEL = 0x3,
  MB_YESNO = 0x4,
  MB_ICONERROR = 0x10,
  MB_ICONQUESTION = 0x20,
  MB_ICONWARNING = 0x30,
  MB_ICONINFORMATION = 0x40,
  MB_BUTTONMASK = 0xF,
  MB_ICONMASK = 0xF0,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// The application's title (captions of its boxes); defaults to the application name.
QString ApplicationTitle();
void SetApplicationTitle(const QString &title);

// Shows a modal message box and answers the button pressed (IDOK, IDYES, ...).
int MessageBox(QWidget *owner, const QString &text, const QString &caption, unsigned flags);

// Replaces the box shown by MessageBox (and so by the error box); returns the previous handler.
// An empty handler restores the real boxes.
using TMessageBoxHandler =
    std::function<int(QWidget *owner, const QString &text, const QString &caption, unsigned flags)>;
TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler);

// The message as the error box shows it: a full stop is added when the last character is above
// "." in code order. "Stream read error" gets one, "Done." and an empty message do not, and
// "Why?" becomes "Why?." since the rule looks at the character code only.
QString ErrorBoxText(const QString &message);
// The error box: the message by the rule above, the application's title, the error icon.
void ShowErrorBox(const QString &message);
// The message of an escaping error.
QString ExceptionMessage(const std::exception &e);

// Runs a command; an error escaping it is shown in the error box and the program goes on.
// Answers false when the command was abandoned that way.
bool RunCommand(const std::function<void()> &command);

// The application object: errors escaping an event handler are shown in the error box
// instead of ending the program.
class TApplication : public QApplication {
public:
  TApplication(int &argc, char **argv);
  bool notify(QObject *receiver, QEvent *event) override;
};
