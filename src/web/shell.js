'use strict';

// What the page does for the device it is on, apart from the simulation: sizes the court for the
// screen, and keeps the page's files for playing offline.
// eslint-disable-next-line no-unused-vars
const quarrowShell = (() => {
  // Device pixels a court pixel. A desktop shows one CSS pixel a court pixel, as the window does;
  // where the style asks the court to fill the width (a phone), the most whole device pixels that
  // fit the width and three quarters of the height, so that the court scales without blurring.
  const courtScale = (canvas, width, height) => {
    const ratio = window.devicePixelRatio || 1;
    // A browser keeps no canvas above 16384 device pixels a side.
    const most = 16384 / Math.max(width, height);
    if (getComputedStyle(canvas).getPropertyValue('--fit').trim() !== 'width') {
      return Math.min(ratio, most);
    }
    const box = canvas.parentElement;
    const style = getComputedStyle(box);
    const frame = canvas.offsetWidth - canvas.clientWidth;
    const across = box.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight) - frame;
    const down = window.innerHeight * 0.75 - frame;
    return Math.min(most, Math.max(1, Math.floor(Math.min((across * ratio) / width, (down * ratio) / height))));
  };

  // Sizes the canvas's box and backing store for a court of width × height and returns the scale;
  // when the window or its pixel ratio changes it does so again and hands the new scale to refitted.
  const fitCourt = (canvas, width, height, refitted) => {
    let scale = 0;
    let ratio = 0;
    const fit = () => {
      const next = courtScale(canvas, width, height);
      if (next === scale && window.devicePixelRatio === ratio) {
        return false;
      }
      scale = next;
      ratio = window.devicePixelRatio || 1;
      canvas.style.width = `${(width * scale) / ratio}px`;
      canvas.style.height = `${(height * scale) / ratio}px`;
      canvas.width = Math.round(width * scale);
      canvas.height = Math.round(height * scale);
      return true;
    };
    const refit = () => {
      if (fit()) {
        refitted(scale);
      }
    };
    const watchRatio = () => {
      window.matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener('change', () => {
        refit();
        watchRatio();
      }, { once: true });
    };
    fit();
    watchRatio();
    window.addEventListener('resize', refit);
    return scale;
  };

  // Once the core's module has arrived: on a first visit the worker fetches every file again, which
  // must not slow the module's download.
  if ('serviceWorker' in navigator && window.isSecureContext) {
    new PerformanceObserver((list, observer) => {
      if (list.getEntries().some((entry) => entry.name.endsWith('.wasm'))) {
        observer.disconnect();
        navigator.serviceWorker.register('service_worker.js').catch((error) => {
          console.warn(`The page will not play offline: ${error.message}`);
        });
      }
    }).observe({ type: 'resource', buffered: true });
  }

  return { fitCourt };
})();
