// The trace panel: the program's output, the latest lines kept, following the end unless
// the visitor scrolled back to read.
const KEEP = 10000;
const panel = document.getElementById('trace');
const lines = document.getElementById('trace-lines');

// A live circuit prints a line per live wire per frame: lines are gathered and shown once
// per animation frame, as one block each.
const blocks = [];  // the panel's blocks, oldest first, with their line counts
let pending = [], scheduled = false, shown = 0;

// What the upkeep costs, for bench/web-page: milliseconds spent, and how many times.
export const upkeep = {ms: 0, times: 0};

// Nothing here reads the layout while lines are added (that would force the browser to
// lay the page out again in the middle of every frame): whether the panel follows the end
// is learnt when it scrolls, and it is scrolled to the end after the browser's own layout.
// While it follows, the browser must not hold the view on the lines shown (its scroll
// anchoring would, as the oldest lines go), or the panel would drift off the end.
let following = true;
panel.addEventListener('scroll', () => {
  following = panel.scrollTop + panel.clientHeight >= panel.scrollHeight - 4;
  panel.classList.toggle('following', following);
});
new ResizeObserver(() => {
  if (following) panel.scrollTop = panel.scrollHeight;
}).observe(lines);

function dropOldest() {
  while (shown - blocks[0].count >= KEEP) {
    const oldest = blocks.shift();
    oldest.node.remove();
    shown -= oldest.count;
  }
  if (shown > KEEP) {  // the oldest block loses its first lines
    const oldest = blocks[0], text = oldest.node.firstChild;
    let at = 0;
    for (let cut = shown - KEEP; cut > 0; cut--) at = text.data.indexOf('\n', at) + 1;
    text.data = text.data.slice(at);
    oldest.count -= shown - KEEP;
    shown = KEEP;
  }
}

function show() {
  const start = performance.now();
  scheduled = false;
  const fresh = pending.length > KEEP ? pending.slice(-KEEP) : pending;
  pending = [];
  const node = document.createElement('div');
  node.textContent = fresh.join('\n') + '\n';
  lines.appendChild(node);
  blocks.push({node, count: fresh.length});
  shown += fresh.length;
  dropOldest();
  upkeep.ms += performance.now() - start;
  upkeep.times++;
}

export function print(line) {
  pending.push(line);
  if (pending.length > 2 * KEEP) pending.splice(0, pending.length - KEEP);
  if (!scheduled) {
    scheduled = true;
    requestAnimationFrame(show);
  }
}
