#include "rtErrorBox.h"

#include <QMessageBox>

namespace {

QString &titleStore()
{
  static QString title;
  return title;
}

TMessageBoxHandler &handlerStore()
{
  static TMessageBoxHandler handler;
  return handler;
}

int realMessageBox(QWidget *owner, const QString &text, const QString &caption, unsigned flags)
{
  QMessageBox box(owner);
  box.setWindowTitle(caption);
  box.setText(text);
  switch (flags & MB_ICONMASK) {
  case MB_ICONERROR:
    box.setIcon(QMessageBox::Critical);
    break;
  case MB_ICONQUESTION:
    box.setIcon(QMessageBox::Question);
    break;
  case MB_ICONWARNING:
    box.setIcon(QMessageBox::Warning);
    break;
  case MB_ICONINFORMATION:
    box.setIcon(QMessageBox::Information);
    break;
  default:
    break;
  }
  switch (flags & MB_BUTTONMASK) {
  case MB_OKCANCEL:
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    break;
  case MB_YESNOCANCEL:
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    break;
  case MB_YESNO:
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    break;
  default:
    box.setStandardButtons(QMessageBox::Ok);
    break;
  }
  box.setEscapeButton(box.button(QMessageBox::Cancel) ? box.button(QMessageBox::Cancel)
                      : box.button(QMessageBox::No)   ? box.button(QMessageBox::No)
                                                      : box.button(QMessageBox::Ok));
  switch (box.exec()) {
  case QMessageBox::Yes:
    return IDYES;
  case QMessageBox::No:
    return IDNO;
  case QMessageBox::Cancel:
    return IDCANCEL;
  default:
    return (flags & MB_BUTTONMASK) == MB_OK ? IDOK : IDCANCEL;
  }
}

} // namespace

QString ApplicationTitle()
{
  if (!titleStore().isEmpty())
    return titleStore();
  return QCoreApplication::applicationName();
}

void SetApplicationTitle(const QString &title) { titleStore() = title; }

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler)
{
  TMessageBoxHandler old = handlerStore();
  handlerStore() = std::move(handler);
  return old;
}

int MessageBox(QWidget *owner, const QString &text, const QString &caption, unsigned flags)
{
  if (const TMessageBoxHandler &h = handlerStore())
    return h(owner, text, caption, flags);
  return realMessageBox(owner, text, caption, flags);
}

QString ErrorBoxText(const QString &message)
{
  if (!message.isEmpty() && message.back() > QLatin1Char('.'))
    return message + QLatin1Char('.');
  return message;
}

void ShowErrorBox(const QString &message)
{
  QWidget *owner = QApplication::activeWindow();
  MessageBox(owner, ErrorBoxText(message), ApplicationTitle(), MB_OK | MB_ICONERROR);
}

QString ExceptionMessage(const std::exception &e) { return QString::fromUtf8(e.what()); }

namespace {

// Reports the exception being handled; call only from inside a catch block.
void showCurrentException()
{
  try {
    throw;
  } catch (const std::exception &e) {
    ShowErrorBox(ExceptionMessage(e));
  } catch (...) {
    ShowErrorBox(QStringLiteral("Unknown error"));
  }
}

} // namespace

bool RunCommand(const std::function<void()> &command)
{
  try {
    command();
    return true;
  } catch (...) {
    showCurrentException();
  }
  return false;
}

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    showCurrentException();
  }
  return false;
}
