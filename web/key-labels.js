// The keys' labels as the visitor's own keyboard prints them. The program acts on a key's
// place on the keyboard, as on the desktop: on AZERTY the key in A's place, labelled Q, places
// an AND gate. Where the browser tells the layout, the palette and the keys summary show the
// visitor's labels; elsewhere they keep a US keyboard's, and the summary says so.
export async function showKeyLabels() {
  const layout = await navigator.keyboard?.getLayoutMap?.().catch(() => null);
  if (!layout) {  // the page took it for known: the US places are mentioned after all
    document.documentElement.classList.remove('layout-known');
    return;
  }
  const label = (code) => (layout.get(code) ?? code.slice(3)).toUpperCase();
  for (const key of document.querySelectorAll('#keys-summary [data-code]')) {
    key.textContent = label(key.dataset.code);
  }
  for (const control of document.querySelectorAll('#palette [data-keys]')) {
    const codes = control.dataset.keys.split(' ');
    const named = codes.map((code) => (code === 'ShiftLeft' ? 'Shift' : label(code)));
    control.querySelector('kbd').textContent = named.join('+').replace('Shift+', '⇧');
    control.setAttribute('aria-keyshortcuts', named.join('+'));
  }
}
