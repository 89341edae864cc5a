// Gamepads through the Gamepad API, mapped as the desktop program maps them:
// D-pad and left stick Left and Right, A Game A, B Game B, Start or Y Time.
// Pads are read once a frame, and only while one is connected; a button is
// pressed when its first control goes down and released when its last one
// comes up, whichever pad they are on.
const GAME_A = 1, GAME_B = 2, TIME = 3, LEFT = 4, RIGHT = 5;
// Controls by their place in the standard mapping's button list.
const BUTTON_CONTROLS = [[14, LEFT], [15, RIGHT], [0, GAME_A], [1, GAME_B], [9, TIME], [3, TIME]];
const STICK_LEFT = BUTTON_CONTROLS.length, STICK_RIGHT = STICK_LEFT + 1;
const CONTROL_BUTTONS = [...BUTTON_CONTROLS.map(([, button]) => button), LEFT, RIGHT];

// The stick's direction along one axis: -1, 0 or +1. It turns at half travel
// and returns to rest only below a quarter, so a stick resting near the
// turning point does not chatter.
export function stickDirection(current, axis) {
  const TURN = 0.5, REST = 0.25;
  if (axis <= -TURN) return -1;
  if (axis >= TURN) return +1;
  if (current < 0 && axis < -REST) return -1;
  if (current > 0 && axis > REST) return +1;
  return 0;
}

export function createGamepads(press, onChange) {
  const pads = new Map();  // gamepad index -> { held: boolean[], stick }
  const holders = [0, 0, 0, 0, 0, 0];  // per button 1..5: controls holding it
  let frame = 0;

  function setHeld(pad, control, held) {
    if (pad.held[control] === held) return;
    pad.held[control] = held;
    const button = CONTROL_BUTTONS[control];
    holders[button] += held ? 1 : -1;
    if (held && holders[button] === 1) press(button, true);
    if (!held && holders[button] === 0) press(button, false);
  }
  function release(index) {
    const pad = pads.get(index);
    pad.held.forEach((held, control) => setHeld(pad, control, false));
    pads.delete(index);
  }
  function read(gamepad) {
    let pad = pads.get(gamepad.index);
    if (!pad) pads.set(gamepad.index, pad = { held: CONTROL_BUTTONS.map(() => false), stick: 0 });
    BUTTON_CONTROLS.forEach(([place], control) => setHeld(pad, control, !!gamepad.buttons[place]?.pressed));
    pad.stick = stickDirection(pad.stick, gamepad.axes[0] || 0);
    setHeld(pad, STICK_LEFT, pad.stick < 0);
    setHeld(pad, STICK_RIGHT, pad.stick > 0);
  }
  function poll() {
    frame = 0;
    const connected = [...(navigator.getGamepads?.() || [])].filter(g => g?.connected);
    for (const index of pads.keys())
      if (!connected.some(g => g.index === index)) release(index);
    connected.forEach(read);
    if (connected.length) frame = requestAnimationFrame(poll);
    else onChange();
  }
  function start() {
    if (!frame) frame = requestAnimationFrame(poll);
    onChange();
  }

  addEventListener('gamepadconnected', start);
  addEventListener('gamepaddisconnected', start);
  if ([...(navigator.getGamepads?.() || [])].some(g => g?.connected)) start();

  return {
    // Everything the pads hold is let go; what is still held when the page
    // reads them again is pressed again.
    releaseAll() { [...pads.keys()].forEach(release); },
    get connected() { return pads.size > 0 || frame !== 0; },
  };
}
