// The samples through Web Audio: fetched at once, decoded and played once
// the first gesture has let the page start its audio context. Muting is
// kept in the settings; a hidden page is silent.
export function createSound({ skinFile, settings, report }) {
  let audio = null;
  let muted = settings.read('Muted') === '1';
  const samples = [];  // handle - 1: { name, bytes: Promise<Uint8Array|null>, buffer: AudioBuffer }
  const playing = new Set();

  async function decode(sample) {
    const bytes = await sample.bytes;
    if (!bytes) return;
    try {
      sample.buffer = await audio.decodeAudioData(bytes.slice().buffer);
    } catch (e) {
      report(`The sound ${sample.name} is damaged and will not play (${e.message}).`);
    }
  }
  function stop() {
    for (const source of playing) source.stop();
    playing.clear();
  }

  return {
    // The handle of a sample, from 1.
    load(name) {
      const sample = { name, buffer: null };
      sample.bytes = skinFile(name).catch(e => { report(`The sound ${name} could not be loaded (${e.message}).`); return null; });
      samples.push(sample);
      if (audio) decode(sample);
      return samples.length;
    },
    play(handle) {
      const sample = samples[handle - 1];
      if (muted || !audio || audio.state !== 'running' || !sample?.buffer) return;
      const source = audio.createBufferSource();
      source.buffer = sample.buffer;
      source.connect(audio.destination);
      source.onended = () => playing.delete(source);
      playing.add(source);
      source.start();
    },
    stop,
    // Called on every gesture: the first one starts the audio context.
    start() {
      if (audio || !window.AudioContext || document.hidden) return;
      audio = new AudioContext();
      samples.forEach(decode);
    },
    suspend() {
      stop();
      audio?.suspend();
    },
    resume() { audio?.resume(); },
    get state() { return audio ? audio.state : 'none'; },
    get muted() { return muted; },
    set muted(on) {
      muted = on;
      if (muted) stop();
      settings.write('Muted', muted ? '1' : '0');
    },
  };
}
