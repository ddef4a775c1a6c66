// Opens the thesaurus dialog on "happy" over a small editor window and saves a picture of the
// screen area both windows cover (used under a virtual X server by
// scripts/screenshot-thesaurus.sh).
//   thesaurus_screenshot THESAURUS.wdt OUT.png
#include "wrRichEdit.h"
#include "wrThesaurus.h"
#include "wrThesaurusDialog.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>

int main(int argc, char **argv)
{
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: thesaurus_screenshot THESAURUS.wdt OUT.png\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[2]);

  QWidget window;
  window.setWindowTitle(QStringLiteral("Linewright"));
  window.setGeometry(24, 24, 460, 120);
  auto *editor = new TWrightRichEdit(&window);
  editor->setGeometry(0, 0, 460, 120);
  editor->SetText(QStringLiteral("What a happy day it was.\r\nThe thesaurus offers other words."));
  editor->SetSel(9, 9);
  editor->SetHideSelection(false); // as the main window keeps it: the word stays marked
  window.show();

  TThesaurus3 thes(&window);
  thes.SetFilename(QString::fromLocal8Bit(argv[1]));
  thes.DoubleClickAction = dcaLookup;
  bool saved = false;
  QTimer::singleShot(1500, [&] {
    auto *d = qobject_cast<TThesDialog *>(thes.DialogForm());
    if (!d)
      return;
    // The dialog as the user first sees it, with a synonym chosen.
    const auto rows = d->WordList->findItems(QStringLiteral("cheerful"), Qt::MatchExactly);
    if (!rows.isEmpty()) {
      d->WordList->setCurrentItem(rows.front());
      d->WordList->scrollToItem(rows.front(), QAbstractItemView::PositionAtCenter);
    }
    QTimer::singleShot(500, [&, d] {
      const QRect area = window.frameGeometry().united(d->frameGeometry()).adjusted(-8, -8, 8, 8);
      QScreen *screen = window.screen();
      const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
      saved = shot.save(out);
      d->reject();
    });
  });
  QTimer::singleShot(0, [&] {
    if (!thes.LookupWinControl(editor))
      std::fprintf(stderr, "thesaurus_screenshot: no word at the caret\n");
    app.quit();
  });
  app.exec();
  if (!saved) {
    std::fprintf(stderr,
                 "thesaurus_screenshot: the dialog did not open (thesaurus missing?) or %s could "
                 "not be written\n",
                 argv[2]);
    return 1;
  }
  return 0;
}
