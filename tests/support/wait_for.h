#pragma once
// Runs the event loop until Done() holds or Ms milliseconds have passed; answers Done(). For
// tests that wait on the loop's own work (a timer, a socket notifier), never on a fixed sleep.
#include <QCoreApplication>
#include <QElapsedTimer>

template <class F>
bool WaitFor(F Done, int Ms)
{
  QElapsedTimer clock;
  clock.start();
  while (!Done() && clock.elapsed() < Ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return Done();
}
