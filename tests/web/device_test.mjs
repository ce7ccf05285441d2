// The page where people open share links, in headless Chromium or Firefox: a phone's screen at 1x
// and 3x, the dark scheme, installing it, and playing it again offline.
// Usage: node device_test.mjs PAGE_DIR chromium|firefox

import path from 'node:path';
import { startBrowser, waitFor } from './browser.mjs';

const pageDir = path.resolve(process.argv[2]);
const name = process.argv[3];
let failures = 0;
const check = (ok, what) => {
  failures += ok ? 0 : 1;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}: ${what}`);
};
const playing = (page) => waitFor(page, () => window.quarrowPage.state === 'playing');
const colours = (page) => page.evaluate(() => [document.body, document.getElementById('court')]
  .map((e) => `${getComputedStyle(e).backgroundColor} ${getComputedStyle(e).color}`));

const browser = await startBrowser(pageDir, { name });
const dark = await startBrowser(pageDir, { name, dark: true });
try {
  // On a phone the court fills the width with the most whole device pixels a court pixel that fit
  // (257 court pixels across), and every button takes a finger; a drag still lands in court pixels.
  for (const [scale, perPixel] of [[1, 1], [3, 4]]) {
    const phone = await browser.open('?seed=1', { width: 390, height: 844, scale });
    await waitFor(phone, () => window.quarrowPage.state === 'playing' && window.quarrowPage.ball().team === 0);
    const court = await phone.evaluate(() => {
      const c = document.getElementById('court');
      const box = c.getBoundingClientRect();
      const [across, left, top] = [box.width - 2 * c.clientLeft, box.left + c.clientLeft, box.top + c.clientTop]
        .map((v) => v * devicePixelRatio);
      return { across, left, top, store: c.width, page: document.documentElement.scrollWidth };
    });
    // Within the layout's 1/64 CSS px.
    const whole = [court.across, court.left, court.top].every((v) => Math.abs(v - Math.round(v)) <= scale / 64);
    check(whole && Math.round(court.across) === court.store && court.store === 257 * perPixel && court.page <= 390,
      `390 px at ${scale}x: ${perPixel} device pixels a court pixel, on whole ones ${JSON.stringify(court)}`);
    const x = court.left / scale + (100 * perPixel) / scale;
    const y = court.top / scale + (60 * perPixel) / scale;
    await phone.mouse.move(x - 10, y);
    await phone.mouse.down();
    await phone.mouse.move(x, y);
    await phone.mouse.up();
    const ball = await phone.evaluate(() => window.quarrowPage.ball());
    check(Math.abs(ball.x - 100) < 0.5 && Math.abs(ball.y - 60) < 0.5, `a drag to court (100, 60) puts the ball at (${ball.x}, ${ball.y})`);
    await phone.click('#max');
    await waitFor(phone, () => window.quarrowPage.state === 'asking');
    const sizes = await phone.evaluate(() => ['max', 'fast', 'yes', 'no'].map((id) => {
      const box = document.getElementById(id).getBoundingClientRect();
      return [Math.round(box.width), Math.round(box.height)];
    }));
    check(sizes.flat().every((v) => v >= 24), `buttons of at least 24 x 24 px ${JSON.stringify(sizes)}`);
    await phone.close();
  }

  // The dark scheme darkens the page but not the court, which keeps the window's colours.
  const light = await colours(await browser.open('?seed=1'));
  const night = await dark.open('?seed=1');
  await playing(night);
  const darkened = await colours(night);
  check(light[0] !== darkened[0] && light[1] === darkened[1], `dark page, same court: ${light.join(' / ')}; dark ${darkened.join(' / ')}`);

  // The manifest is linked and whole, and its icons are the sizes it states; Chromium would install.
  const home = await browser.open('?seed=1');
  await playing(home);
  const manifest = await home.evaluate(async () => {
    const link = document.querySelector('link[rel=manifest]');
    const data = await (await fetch(link.href)).json();
    const icons = await Promise.all(data.icons.map(async (icon) => {
      const image = new Image();
      image.src = new URL(icon.src, link.href);
      await image.decode();
      return icon.sizes === 'any' || icon.sizes === `${image.naturalWidth}x${image.naturalHeight}`;
    }));
    return { name: data.name, display: data.display, start: data.start_url, icons };
  });
  check(manifest.name === 'Quarrow simulator' && manifest.display === 'standalone' && manifest.start === './' &&
    manifest.icons.length >= 3 && manifest.icons.every(Boolean), `manifest ${JSON.stringify(manifest)}`);
  if (name === 'chromium') {
    const session = await home.createCDPSession();
    await waitFor(home, () => navigator.serviceWorker.controller !== null);
    const { installabilityErrors } = await session.send('Page.getInstallabilityErrors');
    check(installabilityErrors.length === 0, `installable ${JSON.stringify(installabilityErrors)}`);
  }

  // Once visited, it plays with the server gone.
  await waitFor(home, () => navigator.serviceWorker.controller !== null);
  await browser.stopServing();
  await home.goto(home.url().replace('seed=1', 'seed=5&match=2'));
  await waitFor(home, () => window.quarrowPage.state === 'playing' && window.quarrowPage.frames > 10);
  check(home.problems.length === 0, `offline, a reload plays ${home.problems.join('; ')}`);
} catch (error) {
  check(false, error.stack);
} finally {
  await browser.close();
  await dark.close();
}
process.exit(failures === 0 ? 0 : 1);
