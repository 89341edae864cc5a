// The handheld's timers, each known by its number. An armed timer fires
// every interval from the moment it was armed; a period that the browser
// let pass unseen is skipped, not made up in a burst. While paused none
// fires: each keeps how much of its period was left and goes on from there
// when resumed, so a game waits exactly where it stopped. The clock is the
// page's own unless a test gives one.
const pageClock = {
  now: () => performance.now(),
  setTimeout: (f, ms) => setTimeout(f, ms),
  clearTimeout: id => clearTimeout(id),
};

export function createTimers(fire, clock = pageClock) {
  const armed = new Map();  // timer -> { intervalMs, due, left, handle }
  let paused = false;

  function schedule(timer, entry) {
    entry.handle = clock.setTimeout(() => {
      const now = clock.now();
      entry.due += entry.intervalMs;
      if (entry.due <= now) entry.due = now + entry.intervalMs;
      schedule(timer, entry);
      fire(timer);
    }, Math.max(0, entry.due - clock.now()));
  }

  return {
    arm(timer, intervalMs) {
      this.disarm(timer);
      const entry = { intervalMs, due: clock.now() + intervalMs, left: intervalMs, handle: 0 };
      armed.set(timer, entry);
      if (!paused) schedule(timer, entry);
    },
    disarm(timer) {
      clock.clearTimeout(armed.get(timer)?.handle);
      armed.delete(timer);
    },
    pause() {
      if (paused) return;
      paused = true;
      const now = clock.now();
      for (const entry of armed.values()) {
        clock.clearTimeout(entry.handle);
        entry.left = Math.max(0, entry.due - now);
      }
    },
    resume() {
      if (!paused) return;
      paused = false;
      const now = clock.now();
      for (const [timer, entry] of armed) {
        entry.due = now + entry.left;
        schedule(timer, entry);
      }
    },
    get paused() { return paused; },
    get count() { return armed.size; },
  };
}
