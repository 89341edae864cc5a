// SIGTERM and SIGHUP end the event loop as the Exit entry does, after what it
// is doing; a signal the program was started ignoring stays ignored.

#include "termination_signals.h"

#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>

namespace {

TEST(TerminationSignals, EndTheEventLoopAsExitDoesAndKeepAnIgnoredSignalIgnored) {
  std::signal(SIGINT, SIG_IGN);
  zarvik::quitOnTerminationSignals();
  struct sigaction interrupt {};
  sigaction(SIGINT, nullptr, &interrupt);
  EXPECT_EQ(interrupt.sa_handler, SIG_IGN);
  std::signal(SIGINT, SIG_DFL);

  for (int signal : {SIGTERM, SIGHUP}) {
    bool laterWorkRan = false;
    QTimer::singleShot(0, [signal] { std::raise(signal); });
    // The signal is only noted in its handler: the work under way ends first.
    QTimer::singleShot(0, [&laterWorkRan] { laterWorkRan = true; });
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(2000);
    EXPECT_EQ(QCoreApplication::exec(), 0) << "signal " << signal;
    EXPECT_TRUE(laterWorkRan) << "signal " << signal;
    QCoreApplication::processEvents();  // the exit request queued for a loop that has ended
  }
}

}  // namespace
