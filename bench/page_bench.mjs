// The page in headless Chromium, measured by itself: its weight, Fast's frame interval and the
// frames per second of Max mode over 5 s (the question answered Yes at each match's end, its time
// left out). With --screenshot FILE.png, the picture of the page for the README.
// Usage: node bench/page_bench.mjs PAGE_DIR [--screenshot FILE.png]

import { statSync } from 'node:fs';
import path from 'node:path';
import { sleep, startBrowser, waitFor } from '../tests/web/browser.mjs';

const pageDir = path.resolve(process.argv[2]);
const weight = ['quarrow.js', 'quarrow.wasm'].map((f) => statSync(path.join(pageDir, f)).size);
console.log(`Page weight: script ${weight[0]} + .wasm ${weight[1]} = ${weight[0] + weight[1]} bytes`);

const chromium = await startBrowser(pageDir);
try {
  const page = await chromium.open('?seed=1');
  await waitFor(page, () => window.quarrowPage.state === 'playing');
  await page.click('#fast');
  await sleep(100);
  await page.evaluate(() => { window.quarrowPage.frameStarts = []; });
  await sleep(1000);
  const starts = await page.evaluate(() => window.quarrowPage.frameStarts);
  const gaps = starts.slice(1).map((t, i) => t - starts[i]);
  const sorted = [...gaps].sort((a, b) => a - b);
  const mean = gaps.reduce((a, b) => a + b, 0) / gaps.length;
  console.log(`Fast: mean frame interval ${mean.toFixed(3)} ms, median ${sorted[sorted.length >> 1].toFixed(3)} ms, over ${gaps.length} frames`);

  // The question is answered inside the page the moment it opens, so that the 5 s are spent
  // playing rather than on round trips to the browser.
  await page.evaluate(() => {
    const question = document.getElementById('question');
    new MutationObserver(() => {
      if (question.open) document.getElementById('yes').click();
    }).observe(question, { attributes: true, attributeFilter: ['open'] });
  });
  await page.click('#max');
  await sleep(5000);
  const { maxFrames, maxMs } = await page.evaluate(() => window.quarrowPage);
  console.log(`Max: ${Math.round((maxFrames / maxMs) * 1000)} frames per second (${maxFrames} frames in ${Math.round(maxMs)} ms between questions)`);
  const shot = process.argv.indexOf('--screenshot');
  if (shot > 0) {
    const shown = await chromium.open('?seed=5');
    await waitFor(shown, () => window.quarrowPage.state === 'playing').then(() => shown.click('#fast'));
    await waitFor(shown, () => window.quarrowPage.frames >= 400).then(() => shown.click('#fast'));
    await sleep(200);
    await (await shown.$('main')).screenshot({ path: process.argv[shot + 1] });
  }
} finally {
  await chromium.close();
}
