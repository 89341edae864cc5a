#include "window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <QWidget>
#include <algorithm>

#include "window_system.h"

namespace zarvik {

namespace {

const QScreen* screenOf(const QWidget& window) {
  return window.screen() ? window.screen() : QGuiApplication::primaryScreen();
}

// What a parked window remembers, as its child: whether it is kept unmapped,
// and whether it is to be shown when placed.
class ParkingTicket : public QObject {
 public:
  static constexpr char kName[] = "zarvik-parking-ticket";
  explicit ParkingTicket(QWidget& window) : QObject(&window) { setObjectName(QLatin1String(kName)); }
  bool unmapped = false;
  bool showWhenPlaced = false;
};

ParkingTicket* ticketOf(const QWidget& window) {
  // Found by its name: without a meta-object of its own, findChild<ParkingTicket*>
  // would match any child.
  return dynamic_cast<ParkingTicket*>(
      window.findChild<QObject*>(QLatin1String(ParkingTicket::kName), Qt::FindDirectChildrenOnly));
}

}  // namespace

void centreOnScreen(QWidget& window) {
  const QScreen* screen = screenOf(window);
  if (!screen) return;
  const QRect area = screen->geometry();
  window.move(area.left() + (area.width() - window.width()) / 2,
              area.top() + (area.height() - window.height()) / 2);
}

void keepOnScreen(QWidget& window, QPoint centre) {
  const QPoint wanted = centre - QPoint(window.width() / 2, window.height() / 2);
  const QScreen* screen = screenOf(window);
  if (!screen) return window.move(wanted);
  const QRect area = screen->geometry();
  window.move(std::max(area.left(), std::min(wanted.x(), area.right() + 1 - window.width())),
              std::max(area.top(), std::min(wanted.y(), area.bottom() + 1 - window.height())));
}

bool dragFollowsPointer(QWidget& window) {
  if (!onNativeWayland()) return true;
  if (QWindow* handle = window.windowHandle()) handle->startSystemMove();
  return false;
}

void park(QWidget& window) {
  ParkingTicket* ticket = ticketOf(window);
  if (!ticket) ticket = new ParkingTicket(window);
  ticket->unmapped = windowManagerRuns();
  if (ticket->unmapped && window.isVisible()) {
    ticket->showWhenPlaced = true;
    window.hide();
  }
  const QScreen* screen = screenOf(window);
  const QSize size = screen ? screen->size() : window.size();
  window.move(-size.width(), -size.height());
}

bool isParked(const QWidget& window) { return ticketOf(window) != nullptr; }

bool isParkedUnmapped(const QWidget& window) {
  const ParkingTicket* ticket = ticketOf(window);
  return ticket && ticket->unmapped;
}

void showUnlessParked(QWidget& window) {
  ParkingTicket* ticket = ticketOf(window);
  if (ticket && ticket->unmapped) ticket->showWhenPlaced = true;
  else window.show();
}

void placeOnScreen(QWidget& window) {
  centreOnScreen(window);
  ParkingTicket* ticket = ticketOf(window);
  if (!ticket) return;
  const bool show = ticket->showWhenPlaced;
  delete ticket;
  if (show) {
    window.show();
    window.activateWindow();
  }
  window.update();
}

}  // namespace zarvik
