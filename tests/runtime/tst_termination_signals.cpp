// Termination signals delivered to the event loop: the handler only writes to a pipe, the
// object raises OnTerminate from the loop and puts the earlier actions back.

#include "rtTerminationSignals.h"
#include "wait_for.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <csignal>

#include <gtest/gtest.h>

namespace {

void (*Handler(int Signal))(int)
{
  struct sigaction current = {};
  sigaction(Signal, nullptr, &current);
  return current.sa_handler;
}

TEST(TerminationSignals, EachSignalReachesTheLoopOnceAndTheDefaultComesBack)
{
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
    SCOPED_TRACE(signal);
    ASSERT_EQ(Handler(signal), SIG_DFL);
    std::vector<int> received;
    {
      TTerminationSignals caught;
      ASSERT_TRUE(caught.Installed());
      caught.OnTerminate = [&](int Signal) { received.push_back(Signal); };
      // Only one object holds the handlers.
      TTerminationSignals second;
      EXPECT_FALSE(second.Installed());
      ASSERT_NE(Handler(signal), SIG_DFL);
      ASSERT_EQ(raise(signal), 0);   // the process survives: the handler only writes
      EXPECT_TRUE(received.empty()); // nothing runs inside the handler
      ASSERT_TRUE(WaitFor([&] { return !received.empty(); }, 5000));
      EXPECT_EQ(received, std::vector<int>{signal});
      // A second signal would take the default action, ending a program whose close hangs.
      EXPECT_EQ(Handler(signal), SIG_DFL);
    }
    EXPECT_EQ(Handler(signal), SIG_DFL);
  }
}

TEST(TerminationSignals, AnIgnoredSignalStaysIgnored)
{
  struct sigaction ignore = {}, before = {};
  ignore.sa_handler = SIG_IGN;
  ASSERT_EQ(sigaction(SIGHUP, &ignore, &before), 0);
  {
    TTerminationSignals caught;
    ASSERT_TRUE(caught.Installed());
    EXPECT_EQ(Handler(SIGHUP), SIG_IGN);
    EXPECT_NE(Handler(SIGTERM), SIG_DFL);
  }
  EXPECT_EQ(Handler(SIGHUP), SIG_IGN);
  EXPECT_EQ(Handler(SIGTERM), SIG_DFL);
  sigaction(SIGHUP, &before, nullptr);
}

} // namespace
