#pragma once
// The ways the program ends besides its close button: SIGTERM, SIGHUP and SIGINT (a logout, a
// shutdown, a closed terminal, Ctrl+C) save the user's words and settings and close the window
// as the close button does, then leave the event loop; a session manager's logout request
// (commitDataRequest) saves them too, leaving the window open. Create it once, after the
// window, for the window's life.

#include <QObject>

#include <memory>

class TRichTextEd;
class TTerminationSignals;

class TProgramEnd : public QObject {
public:
  explicit TProgramEnd(TRichTextEd &Window);
  ~TProgramEnd() override;

  // False where the signals could not be caught (they then end the program at once).
  bool SignalsCaught() const;
  // Writes what the window's spell components hold unsaved.
  void SaveSpelling();

private:
  void Terminate();

  TRichTextEd &FWindow;
  std::unique_ptr<TTerminationSignals> FSignals;
};
