#include "rtTerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int Signals[] = {SIGTERM, SIGHUP, SIGINT};
constexpr int SignalCount = int(sizeof(Signals) / sizeof(Signals[0]));

// The pipe's write end, read by the handler; -1 while no object is installed.
volatile sig_atomic_t WriteEnd = -1;
struct sigaction Previous[SignalCount];

extern "C" void OnSignal(int Signal)
{
  const int saved = errno;
  const int fd = WriteEnd;
  if (fd >= 0) {
    const unsigned char byte = static_cast<unsigned char>(Signal);
    // Non-blocking: a full pipe already holds a request to end.
    [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
  }
  errno = saved;
}

} // namespace

TTerminationSignals::TTerminationSignals(QObject *Parent) : QObject(Parent)
{
  if (WriteEnd >= 0)
    return;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
    return;
  FReadEnd = fds[0];
  WriteEnd = fds[1];
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  int installed = 0;
  for (; installed < SignalCount; ++installed) {
    if (sigaction(Signals[installed], nullptr, &Previous[installed]) != 0)
      break;
    // A signal the starter chose to ignore (nohup) stays ignored.
    if (Previous[installed].sa_handler == SIG_IGN)
      continue;
    if (sigaction(Signals[installed], &action, nullptr) != 0)
      break;
  }
  if (installed < SignalCount) {
    for (int i = 0; i < installed; ++i)
      sigaction(Signals[i], &Previous[i], nullptr);
    close(fds[1]);
    close(fds[0]);
    WriteEnd = -1;
    FReadEnd = -1;
    return;
  }
  FNotifier = std::make_unique<QSocketNotifier>(FReadEnd, QSocketNotifier::Read);
  connect(FNotifier.get(), &QSocketNotifier::activated, this, [this] { Received(); });
  FInstalled = true;
}

TTerminationSignals::~TTerminationSignals()
{
  if (!FInstalled)
    return;
  Restore();
  FNotifier.reset();
  const int writeEnd = WriteEnd;
  WriteEnd = -1;
  close(writeEnd);
  close(FReadEnd);
}

void TTerminationSignals::Restore()
{
  if (FRestored)
    return;
  FRestored = true;
  for (int i = 0; i < SignalCount; ++i)
    sigaction(Signals[i], &Previous[i], nullptr);
}

void TTerminationSignals::Received()
{
  unsigned char byte = 0;
  const ssize_t got = read(FReadEnd, &byte, 1);
  if (got != 1)
    return;
  FNotifier->setEnabled(false);
  Restore();
  if (OnTerminate)
    OnTerminate(byte);
}
