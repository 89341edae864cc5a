#include "termination_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "application_state.h"

namespace zarvik {
namespace {

// The handler may only do what is safe in a signal: it writes one byte to a
// socket whose other end the event loop watches.
int signalSocket[2] = {-1, -1};

void onSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &byte, 1);
  errno = saved;
}

}  // namespace

void quitOnTerminationSignals() {
  if (signalSocket[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0) return;
  // A full socket (signals arriving faster than they are read) drops the
  // byte instead of blocking the handler: one is enough.
  ::fcntl(signalSocket[0], F_SETFL, O_NONBLOCK);
  auto* notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, [] {
    char bytes[16];
    [[maybe_unused]] const ssize_t read = ::read(signalSocket[1], bytes, sizeof bytes);
    terminateApplication();
  });
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // a write in progress goes on
  // A signal the program was started ignoring (SIGHUP under nohup, SIGINT in
  // a background job) stays ignored.
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    struct sigaction before {};
    if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler != SIG_IGN)
      ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace zarvik
