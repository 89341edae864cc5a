// Replays: the player's session saved as a zarvik-sim script (the handheld
// records it as it is played), and a saved script played back on the face,
// from ?replay=ADDRESS (&speed=N plays it N times as fast) or from a file the
// player picks. A replay keeps its high scores to itself.
export function createReplays({ module, report, status }) {
  const text = pointer => module.UTF8ToString(pointer);
  let replaying = false;

  // The script's text given to the module; its complaint, if any.
  function play(script, name, speed) {
    const size = module.lengthBytesUTF8(script) + 1;
    const pointer = module._malloc(size);
    module.stringToUTF8(script, pointer, size);
    const error = text(module._zw_replay(pointer, speed));
    module._free(pointer);
    if (error) return report(`The replay ${name} cannot be played: ${error}.`);
    replaying = true;
    status(`Replaying ${name}${speed > 1 ? ` ${speed} times as fast` : ''}.`, 'Stop', backToPlay);
  }
  function backToPlay() {
    location.href = location.pathname;
  }

  return {
    get replaying() { return replaying; },
    script: () => text(module._zw_session_script()),
    // Offers the session as a file.
    save() {
      const stamp = new Date().toISOString().slice(0, 19).replace(/[-:]/g, '').replace('T', '-');
      const link = document.createElement('a');
      link.href = URL.createObjectURL(new Blob([this.script()], { type: 'text/plain' }));
      link.download = `zarvik-${stamp}.sim`;
      link.click();
      setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    },
    async fromAddress(address, speed) {
      let script;
      try {
        const response = await fetch(address);
        if (!response.ok) throw new Error(`${response.status} ${response.statusText}`);
        script = await response.text();
      } catch (e) {
        return report(`The replay ${address} could not be downloaded (${e.message}).`);
      }
      play(script, address, speed);
    },
    async fromFile(file) {
      play(await file.text(), file.name, 1);
    },
    ended() {
      status('The replay has ended.', 'Play', backToPlay);
    },
  };
}
