// The settings (high scores, keys, sound): kept in localStorage as
// "zarvik.NAME", or for this visit only when the browser refuses storage.
const PREFIX = 'zarvik.';

export function createSettings(report) {
  const memory = new Map();
  let storageWorks = true;
  function failed(error) {
    storageWorks = false;
    report(`The browser keeps no settings for this page (${error.message}): high scores and keys last until the page is closed.`);
  }
  return {
    read(name) {
      if (storageWorks) {
        try { return localStorage.getItem(PREFIX + name); } catch (e) { failed(e); }
      }
      return memory.has(name) ? memory.get(name) : null;
    },
    write(name, value) {
      memory.set(name, value);
      if (!storageWorks) return;
      try { localStorage.setItem(PREFIX + name, value); } catch (e) { failed(e); }
    },
  };
}
