// Offline: after the first visit the service worker keeps this build's files, so the page
// starts without the network and can be installed as an app.
export function keepForOffline() {
  // Service workers need a secure origin (https, or this machine); from a file there is
  // nothing to keep.
  if ('serviceWorker' in navigator && window.isSecureContext && location.protocol !== 'file:') {
    navigator.serviceWorker.register('sw.js').catch((error) => {
      console.warn('Velkora will not start offline:', error);
    });
  }
}
