// The key settings panel: a list of the 44 bindable keys for each of the
// five buttons. Two buttons may not share a key: their names turn red and
// the panel will not accept until each has its own. Accepting stores the
// five keys and puts them in force; Esc or Cancel leaves them as they were.
const KEY_COUNT = 44;

// The buttons whose keys are also chosen for another button.
export function clashes(indexes) {
  return indexes.map((index, n) => indexes.some((other, k) => k !== n && other === index));
}

export function createKeyPanel({ module, dialog, onAccept }) {
  const lists = [...dialog.querySelectorAll('select')];
  const labels = lists.map(list => dialog.querySelector(`label[for="${list.id}"]`));
  const acceptButton = dialog.querySelector('#keys-accept');
  const clashNote = dialog.querySelector('#keys-clash');
  for (const list of lists)
    for (let index = 1; index <= KEY_COUNT; index++)
      list.add(new Option(module.UTF8ToString(module._zw_key_choice(index)), String(index)));

  const chosen = () => lists.map(list => Number(list.value));
  function check() {
    const clash = clashes(chosen());
    clash.forEach((on, n) => labels[n].classList.toggle('clash', on));
    const any = clash.some(Boolean);
    acceptButton.disabled = any;
    clashNote.hidden = !any;
    return !any;
  }
  function accept() {
    if (!check() || !module._zw_set_keys(...chosen())) return;
    dialog.close();
    onAccept();
  }

  lists.forEach(list => list.addEventListener('change', check));
  acceptButton.addEventListener('click', accept);
  dialog.querySelector('#keys-cancel').addEventListener('click', () => dialog.close());
  dialog.addEventListener('keydown', event => {
    if (event.key === 'Enter' && event.target.tagName !== 'BUTTON') {
      event.preventDefault();
      accept();
    }
  });

  return {
    // Opens on the keys in force.
    open() {
      lists.forEach((list, n) => { list.value = String(module._zw_key_index(n + 1)); });
      check();
      dialog.showModal();
      lists[0].focus();
    },
    get isOpen() { return dialog.open; },
  };
}
