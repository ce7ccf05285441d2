// The page where share links are opened, in headless Chromium or Firefox: on a phone at 1x and 3x,
// in the dark scheme, installed, and again offline. Usage: node device_test.mjs PAGE_DIR BROWSER
import path from 'node:path';
import { startBrowser, waitFor } from './browser.mjs';

const name = process.argv[3];
let failures = 0;
const check = (ok, what) => {
  failures += ok ? 0 : 1;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}: ${what}`);
};
const colours = (page) => page.evaluate(() => [document.body, document.getElementById('court')]
  .map((e) => `${getComputedStyle(e).backgroundColor} ${getComputedStyle(e).color}`).join(' / '));
const browser = await startBrowser(path.resolve(process.argv[2]), { name });
const dark = await startBrowser(path.resolve(process.argv[2]), { name, dark: true });
try {
  // The most whole device pixels a court pixel (257 across) that fit, the buttons a finger's size,
  // and a drag still in court pixels.
  for (const [scale, perPixel] of [[1, 1], [3, 4]]) {
    const phone = await browser.open('?seed=1', { width: 390, height: 844, scale });
    await waitFor(phone, () => window.quarrowPage.state === 'playing' && window.quarrowPage.ball().team === 0);
    const court = await phone.evaluate(() => {
      const c = document.getElementById('court');
      const box = c.getBoundingClientRect();
      const [across, left, top] = [box.width - 2 * c.clientLeft, box.left + c.clientLeft, box.top + c.clientTop];
      return { device: [across, left, top].map((v) => v * devicePixelRatio), store: c.width, page: document.documentElement.scrollWidth };
    });
    const whole = court.device.every((v) => Math.abs(v - Math.round(v)) <= scale / 64);  // layout's 1/64 px
    check(whole && Math.round(court.device[0]) === court.store && court.store === 257 * perPixel && court.page <= 390,
      `390 px at ${scale}x: ${perPixel} whole device pixels a court pixel ${JSON.stringify(court)}`);
    const [x, y] = [0, 1].map((k) => (court.device[k + 1] + [100, 60][k] * perPixel) / scale);
    await phone.mouse.move(x - 10, y).then(() => phone.mouse.down()).then(() => phone.mouse.move(x, y));
    const ball = await phone.evaluate(() => window.quarrowPage.ball());
    await phone.mouse.up().then(() => phone.click('#max'));
    await waitFor(phone, () => window.quarrowPage.state === 'asking');
    const sizes = await phone.evaluate(() => ['max', 'fast', 'pause', 'yes', 'no']
      .map((id) => document.getElementById(id).getBoundingClientRect()).map((b) => [b.width, b.height]));
    check(Math.abs(ball.x - 100) < 0.5 && Math.abs(ball.y - 60) < 0.5 && sizes.flat().every((v) => v >= 24),
      `a drag to (100, 60) puts the ball at (${ball.x}, ${ball.y}); buttons ${JSON.stringify(sizes)} px`);
  }

  // Dark darkens the page but not the court, which keeps the window's colours.
  const light = await colours(await browser.open('?seed=1'));
  const night = await colours(await dark.open('?seed=1'));
  check(light.split(' / ')[0] !== night.split(' / ')[0] && light.split(' / ')[1] === night.split(' / ')[1], `light ${light}; dark ${night}`);

  // The manifest is linked and whole, its icons the sizes it says; Chromium would install the page.
  const home = await browser.open('?seed=1');
  const manifest = await home.evaluate(async () => {
    const link = document.querySelector('link[rel=manifest]').href;
    const data = await (await fetch(link)).json();
    const icons = await Promise.all(data.icons.map(async ({ src, sizes }) => {
      const image = Object.assign(new Image(), { src: new URL(src, link) });
      await image.decode();
      return sizes === 'any' || sizes === `${image.naturalWidth}x${image.naturalHeight}`;
    }));
    return [data.name, data.display, data.start_url, icons.length > 2 && icons.every(Boolean)];
  });
  check(manifest.join() === 'Quarrow simulator,standalone,./,true', `manifest: ${manifest.join(', ')}`);
  await waitFor(home, () => navigator.serviceWorker.controller !== null);
  if (name === 'chromium') {
    const { installabilityErrors } = await (await home.createCDPSession()).send('Page.getInstallabilityErrors');
    check(installabilityErrors.length === 0, `installable ${JSON.stringify(installabilityErrors)}`);
  }
  // Once visited, it plays with the server gone.
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
