// Keys, mouse and touch turned into the handheld's button presses. Keys go
// by the Windows-style codes the key bindings use; keypad digits get codes of
// their own, so they never act as the digit keys. Every pointer holds the
// button it went down on until it is lifted, so that one finger can hold a
// button while another presses.
const MIN_TOUCH_TARGET = 44;  // CSS pixels a finger needs

export function virtualKey(code) {
  let m;
  if ((m = /^Digit(\d)$/.exec(code))) return 48 + Number(m[1]);
  if ((m = /^Key([A-Z])$/.exec(code))) return m[1].charCodeAt(0);
  if ((m = /^Numpad(\d)$/.exec(code))) return 96 + Number(m[1]);
  return { ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, AltLeft: 18, AltRight: 18,
           ControlLeft: 17, ControlRight: 17, ShiftLeft: 16, ShiftRight: 16, Space: 32 }[code] || 0;
}

// Whether a key belongs to a control of the page rather than to the game:
// anything typed into a dialog or a list, and the keys that work a button.
function forControl(event) {
  const target = event.target;
  if (target.closest?.('dialog') || /^(SELECT|INPUT|TEXTAREA)$/.test(target.tagName)) return true;
  return target.tagName === 'BUTTON' && (event.code === 'Space' || event.code === 'Enter');
}

export function createInput({ module, canvas, face, images, onGesture }) {
  const heldKeys = new Set();
  const pointers = new Map();  // pointer id -> button

  // A held key repeats its press; the handheld ignores a button already held.
  addEventListener('keydown', event => {
    onGesture();
    if (forControl(event)) return;
    const key = virtualKey(event.code);
    if (key && module._zw_key(key, 1)) {
      heldKeys.add(key);
      event.preventDefault();
    }
  });
  addEventListener('keyup', event => {
    const key = virtualKey(event.code);
    if (heldKeys.delete(key)) {
      module._zw_key(key, 0);
      event.preventDefault();
    }
  });

  // The button under a pointer: its picture, grown for a finger to the
  // touch target's size; the nearest centre where grown pictures overlap.
  function buttonAt(event) {
    const { x, y, perCssPixel } = face.facePoint(event.clientX, event.clientY);
    const reach = event.pointerType === 'mouse' ? 0 : MIN_TOUCH_TARGET * perCssPixel;
    let best = 0, bestDistance = Infinity;
    for (let id = 0; id < images.length; id++) {
      const n = module._zw_button_of(id);
      if (!n) continue;
      const r = images[id].rect;
      const slackX = Math.max(0, (reach - r.width) / 2), slackY = Math.max(0, (reach - r.height) / 2);
      const dx = Math.max(r.left - slackX - x, 0, x - (r.left + r.width + slackX));
      const dy = Math.max(r.top - slackY - y, 0, y - (r.top + r.height + slackY));
      const distance = Math.hypot(x - (r.left + r.width / 2), y - (r.top + r.height / 2));
      if (dx === 0 && dy === 0 && distance < bestDistance) { best = n; bestDistance = distance; }
    }
    return best;
  }
  canvas.addEventListener('pointerdown', event => {
    onGesture();
    if (event.button !== 0) return;
    const n = buttonAt(event);
    if (!n) return;
    event.preventDefault();
    canvas.setPointerCapture(event.pointerId);
    pointers.set(event.pointerId, n);
    module._zw_button(n, 1);
  });
  function pointerUp(event) {
    const n = pointers.get(event.pointerId);
    if (!n) return;
    pointers.delete(event.pointerId);
    module._zw_button(n, 0);
  }
  canvas.addEventListener('pointerup', pointerUp);
  canvas.addEventListener('pointercancel', pointerUp);
  canvas.addEventListener('contextmenu', event => event.preventDefault());

  // What the keyboard and pointers hold is let go.
  function releaseAll() {
    for (const key of heldKeys) module._zw_key(key, 0);
    heldKeys.clear();
    for (const n of pointers.values()) module._zw_button(n, 0);
    pointers.clear();
  }
  addEventListener('blur', releaseAll);
  return { releaseAll };
}
