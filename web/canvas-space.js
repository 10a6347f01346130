// Places on the canvas: the program's own pixels under a point of the page and back, and
// where the visitor last pressed, which is where the palette and the zoom buttons act.
export const canvas = document.getElementById('canvas');
export const WIDTH = 1600, HEIGHT = 900;  // the program's own pixels

// The drawing stays 1600 by 900 whatever size and scroll it is shown at.
export function toCanvas(clientX, clientY) {
  const box = canvas.getBoundingClientRect();
  return {x: (clientX - box.left) * WIDTH / box.width,
          y: (clientY - box.top) * HEIGHT / box.height};
}
export function toClient({x, y}) {
  const box = canvas.getBoundingClientRect();
  return {clientX: box.left + x * box.width / WIDTH, clientY: box.top + y * box.height / HEIGHT};
}

let lastPress = null;
export function notePress(at) {
  lastPress = at;
}
export function lastPressOnCanvas() {
  return lastPress;
}
