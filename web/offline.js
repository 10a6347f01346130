// Offline: the service worker keeps this build's files, so the page starts without the
// network and can be installed as an app; the page says once when it can, and when a newer
// build has taken over, offers to load it.
const notice = document.getElementById('notice-text');
const update = document.getElementById('update');
update.addEventListener('click', () => location.reload());

// The worker tells every open page its build when it takes over (sw.js).
function heard(build, {data}) {
  if (data?.build === build) {
    notice.textContent = 'Ready to work offline.';
  } else if (data?.build) {
    notice.textContent = 'A new version of Velkora has been published; this page goes on ' +
      'as it is until it is loaded again.';
    update.hidden = false;
  }
}

// Held while this page is open, under the name of its build's cache: the worker deletes an
// old build's files only once no open page holds its name.
function holdBuild(name) {
  return new Promise((held) => navigator.locks?.request(name, {mode: 'shared'}, () => {
    held();
    return new Promise(() => {});
  }) ?? held());
}

export async function keepForOffline(build) {
  // Service workers need a secure origin (https, or this machine).
  if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
  navigator.serviceWorker.addEventListener('message', (event) => heard(build, event));
  navigator.serviceWorker.startMessages();
  try {
    const {scope} = await navigator.serviceWorker.register('sw.js');
    await holdBuild(`velkora ${scope} ${build}`);
    // A page of another build may have closed since the worker last looked.
    (await navigator.serviceWorker.ready).active.postMessage('tidy');
  } catch (error) {
    console.warn('Velkora will not start offline:', error);
  }
}
