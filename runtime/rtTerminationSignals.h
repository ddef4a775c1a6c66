#pragma once
// The signals that ask a program to end (SIGTERM from a logout or shutdown, SIGHUP from a
// closed terminal, SIGINT from Ctrl+C) turned into an ordinary call on the event loop, so that
// the program ends through its normal close and saves what it holds.
//
// The signal handler only write()s the signal's number into a pipe; a QSocketNotifier on the
// pipe's read end raises OnTerminate on the thread that created this object, from its event
// loop. A signal that arrives before the loop runs is delivered once it does. After the first
// signal the actions in force before are back (normally the defaults), so a second one ends a
// program whose close hangs. A signal that was ignored when the object was made (nohup) stays
// ignored.
//
// One object at a time (the handler has one pipe); a second one installs nothing and
// Installed() is false. Failures (no pipe, sigaction refused) leave the default actions and
// Installed() false. The destructor restores the actions in force before.

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

class TTerminationSignals : public QObject {
public:
  explicit TTerminationSignals(QObject *Parent = nullptr);
  ~TTerminationSignals() override;
  TTerminationSignals(const TTerminationSignals &) = delete;
  TTerminationSignals &operator=(const TTerminationSignals &) = delete;

  bool Installed() const { return FInstalled; }
  // Raised once, with the signal's number (SIGTERM, SIGHUP or SIGINT).
  std::function<void(int Signal)> OnTerminate;

private:
  void Received();
  void Restore();

  bool FInstalled = false;
  bool FRestored = false;
  int FReadEnd = -1;
  std::unique_ptr<QSocketNotifier> FNotifier;
};
