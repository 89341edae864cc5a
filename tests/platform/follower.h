#pragma once
// Players for tests that play real games: the follower puts the hero under
// the item nearest the end of its lane, so that every item is caught; the
// dodger keeps it out of that lane, so that every item is missed.

#include "handheld.h"

namespace soundtest {

// The lane of the item nearest the end of its lane, 0 when there is none.
inline int nextItemLane(const zarvik::Handheld& hh) {
  int bestLane = 0, bestStep = 0;
  for (int lane = 1; lane <= 3; ++lane)
    for (int step = 1; step <= 5; ++step)
      if (hh.ItemLanes[lane - 1][step - 1] == 1 && step > bestStep) bestLane = lane, bestStep = step;
  return bestLane;
}

inline void follow(zarvik::Handheld& hh) {
  const int bestLane = nextItemLane(hh);
  while (bestLane && hh.HeroMovable && hh.HeroPos < bestLane) hh.Inp_right_down(), hh.Inp_right_up();
  while (bestLane && hh.HeroMovable && hh.HeroPos > bestLane) hh.Inp_left_down(), hh.Inp_left_up();
}

inline void dodge(zarvik::Handheld& hh) {
  if (nextItemLane(hh) != hh.HeroPos || !hh.HeroMovable) return;
  if (hh.HeroPos > 1) hh.Inp_left_down(), hh.Inp_left_up();
  else hh.Inp_right_down(), hh.Inp_right_up();
}

}  // namespace soundtest
