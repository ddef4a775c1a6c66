// The main window's notice of the files its spell component could not read or write: which file,
// what failed and what follows, once per start, without blocking the user.
#include "RichTextEd.h"

#include "wrLiveAutospell.h"
#include "wrRichEdit.h"

#include <QEvent>
#include <QLabel>
#include <QTextEdit>
#include <QTimer>

namespace {

// Sees the click that dismisses the notice before the window's own filter takes it.
class TDismissWatch : public QObject {
public:
  TDismissWatch(QObject *Parent, std::function<void()> Dismissed)
      : QObject(Parent), FDismissed(std::move(Dismissed))
  {
  }
  bool eventFilter(QObject *, QEvent *Event) override
  {
    if (Event->type() == QEvent::MouseButtonRelease)
      FDismissed();
    return false;
  }

private:
  std::function<void()> FDismissed;
};

} // namespace

void TRichTextEd::CreateFileProblemNotices()
{
  // Told while the editor paints (the first word test loads the dictionaries): shown once the
  // paint is over.
  WrightAutoLiveSpell1->OnFileProblem = [this](QObject *,
                                               const TWrightSpellBase::TFileProblem &Problem) {
    FFileProblems << Problem.Text();
    FFileProblemsDismissed = false;
    QTimer::singleShot(0, this, [this] { ShowFileProblems(); });
  };
  NoticeLine->installEventFilter(new TDismissWatch(NoticeLine, [this] {
    if (NoticeLine->text() == FFileProblems.join(QLatin1Char('\n')))
      FFileProblemsDismissed = true;
  }));
  // A change of the text hides the notice line; words that go unchecked still do.
  connect(Editor, &QTextEdit::textChanged, this, [this] {
    if (NoticeLine->isHidden())
      ShowFileProblems();
  });
}

void TRichTextEd::ShowFileProblems()
{
  if (FFileProblems.isEmpty() || FFileProblemsDismissed)
    return;
  ShowNotice(FFileProblems.join(QLatin1Char('\n')));
}
