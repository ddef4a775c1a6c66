#include "ProgramEnd.h"

#include "RichTextEd.h"
#include "rtTerminationSignals.h"
#include "wrLiveAutospell.h"
#include "wrSpellBase.h"

#include <QApplication>
#include <QSessionManager>

#include <csignal>
#include <unistd.h>

namespace {

// How long the normal close may take after a termination signal.
constexpr unsigned TerminateGraceSeconds = 5;

} // namespace

TProgramEnd::TProgramEnd(TRichTextEd &Window)
    : QObject(&Window), FWindow(Window), FSignals(std::make_unique<TTerminationSignals>())
{
  FSignals->OnTerminate = [this](int) { Terminate(); };
#ifndef QT_NO_SESSIONMANAGER
  connect(qApp, &QGuiApplication::commitDataRequest, this,
          [this](QSessionManager &) { SaveSpelling(); });
#endif
}

TProgramEnd::~TProgramEnd() = default;

bool TProgramEnd::SignalsCaught() const { return FSignals->Installed(); }

void TProgramEnd::SaveSpelling()
{
  for (TWrightSpellBase *spell : {static_cast<TWrightSpellBase *>(FWindow.WrightAutoLiveSpell1),
                                  static_cast<TWrightSpellBase *>(FWindow.WrightSpell3Base1)})
    if (spell)
      spell->SaveChanges();
}

void TProgramEnd::Terminate()
{
  // Saved first: the close may be refused, or a modal dialog's loop may still hold the stack.
  SaveSpelling();
  FWindow.close();
  // Every running loop returns, a modal dialog's too; the window and its components then go
  // the way they go after the close button.
  QCoreApplication::exit(0);
  // The last resort, with every change already on disk: under a private X server the loop was
  // once seen not to return after a signal, and a logout must never wait on the program.
  // SIGALRM's default action ends it.
  ::signal(SIGALRM, SIG_DFL);
  ::alarm(TerminateGraceSeconds);
}
