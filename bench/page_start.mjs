// The page's start in headless Chromium: the weight of every file it needs (the ones its service
// worker keeps, and the worker), and the time from navigation to the first frame on screen, the
// median of 5 fresh loads with the HTTP cache and the service worker out of the way; a page
// directory given second is measured the same way, turn about, so a busy machine slows both alike.
// Usage: node bench/page_start.mjs PAGE_DIR [OTHER_PAGE_DIR]

import { existsSync, readdirSync, readFileSync, statSync } from 'node:fs';
import path from 'node:path';
import { startBrowser } from '../tests/web/browser.mjs';

const dirs = process.argv.slice(2).map((d) => path.resolve(d));
const weight = (dir) => {
  const worker = path.join(dir, 'service_worker.js');
  const files = existsSync(worker)
    ? JSON.parse(readFileSync(worker, 'utf8').match(/kFiles = (\[.*\])/)[1].replaceAll("'", '"'))
      .filter((file) => file !== './').concat('service_worker.js')
    : readdirSync(dir);
  return files.reduce((sum, file) => sum + statSync(path.join(dir, file)).size, 0);
};

// The first animation frame after the first simulation frame: when its picture is painted.
const firstFrame = () => {
  const look = () => (window.quarrowPage && window.quarrowPage.frames > 0
    ? (window.firstFrameMs = performance.now()) : requestAnimationFrame(look));
  requestAnimationFrame(look);
};

const browsers = await Promise.all(dirs.map((dir) => startBrowser(dir)));
const times = dirs.map(() => []);
try {
  for (let round = 0; round < 5; round++) {
    for (const [k, browser] of browsers.entries()) {
      const page = await browser.open('?seed=1', { before: firstFrame, fresh: true });
      await page.waitForFunction(() => window.firstFrameMs !== undefined, { timeout: 20000 });
      times[k].push(await page.evaluate(() => window.firstFrameMs));
      await page.close();
    }
  }
} finally {
  await Promise.all(browsers.map((b) => b.close()));
}
for (const [k, dir] of dirs.entries()) {
  const median = times[k].sort((a, b) => a - b)[2];
  console.log(`${dir}: ${weight(dir)} bytes; first frame after ${median.toFixed(1)} ms (median of ${times[k].map((t) => t.toFixed(0)).join(', ')})`);
}
