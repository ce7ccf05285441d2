// The page in headless Chromium: loads cleanly, passes an accessibility audit, draws the window's
// picture, keeps the pace, places the ball, plays the runner's matches and asks at their end.
// Usage: node page_test.mjs PAGE_DIR RUNNER.js chromium|firefox

import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { sleep, startBrowser, waitFor } from './browser.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const [pageDir, runner] = process.argv.slice(2, 4).map((p) => path.resolve(p));
const axeSource = readFileSync(path.join(here, 'node_modules/axe-core/axe.min.js'), 'utf8');
const chromium = await startBrowser(pageDir, { name: process.argv[4] });
const open = chromium.open;

let failures = 0;
const check = (ok, what) => {
  failures += ok ? 0 : 1;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
};
const state = (page) => page.evaluate(() => window.quarrowPage.state);
const text = (page, id) => page.$eval(`#${id}`, (e) => e.textContent);

// The runner's matches for a seed: frames and winner of each.
const csv = execFileSync(process.execPath, [runner, '--seed', '5', '--matches', '2', '--csv', '-'], { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] });
const runnerMatches = csv.trim().split('\n').slice(1).map((row) => row.split(',').map(Number));

try {
  // Loads with no error, names everything, and keeps the window's focus order.
  const page = await open('?seed=5', { scale: 2 });
  await waitFor(page, () => window.quarrowPage.state === 'playing');
  const look = await page.evaluate(() => {
    const court = document.getElementById('court');
    return { title: document.title, width: court.clientWidth, height: court.clientHeight, store: [court.width, court.height] };
  });
  check(look.title === 'Quarrow simulator' && look.width === 257 && look.height === 169 && look.store.join() === '514,338',
    `title, a 257 x 169 court, a backing store at twice that on a 2x screen: ${JSON.stringify(look)}`);
  const order = [];
  for (let k = 0; k < 3; k++) {
    await page.keyboard.press('Tab');
    order.push(await page.evaluate(() => document.activeElement.id));
  }
  check(order.join() === 'court,max,fast', `focus order ${order.join(', ')}`);
  await page.evaluate(axeSource);
  const audit = await page.evaluate(() => window.axe.run(document));
  const bad = audit.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical');
  check(bad.length === 0, `no serious accessibility violation ${bad.map((v) => v.id).join(' ')}`);

  // The pace: 50 ms a frame, 3 ms with Fast (a key press on the focused button), none with Max.
  // Never early; the quickest tenth on time even on a busy machine (a 4 ms timer clamp is not).
  const gaps = async (ms) => {
    await page.evaluate(() => { window.quarrowPage.frameStarts = []; });
    await sleep(ms);
    const starts = await page.evaluate(() => window.quarrowPage.frameStarts);
    const sorted = starts.slice(1).map((t, i) => t - starts[i]).sort((a, b) => a - b);
    return { least: sorted[0], tenth: sorted[Math.floor(sorted.length / 10)] };
  };
  const normal = await gaps(800);
  await page.keyboard.press(' ');  // Fast has the focus
  const fast = await gaps(600);
  // Max and Fast say whether they are on, and look it.
  const pressed = await page.evaluate(() => ['max', 'fast'].map((id) => {
    const button = document.getElementById(id);
    return [button.getAttribute('aria-pressed'), getComputedStyle(button).backgroundColor];
  }));
  check(pressed[0][0] === 'false' && pressed[1][0] === 'true' && pressed[0][1] !== pressed[1][1],
    `Max and Fast pressed or not: ${JSON.stringify(pressed)}`);
  // The deadline must be passed strictly, so a clock that ticks in whole milliseconds (Firefox's)
  // starts a frame one tick after it, as the window's millisecond counter does.
  const tick = await page.evaluate(() => {
    let least = Infinity;
    for (let seen = 0, last = performance.now(); seen < 20;) {
      const now = performance.now();
      if (now !== last) {
        least = Math.min(least, now - last);
        last = now;
        seen += 1;
      }
    }
    return least;
  });
  check(normal.least >= 50 && normal.tenth < 55 + tick && fast.least >= 3 && fast.tenth < 3.6 + tick,
    `pace: ${JSON.stringify(normal)} ms a frame, Fast ${JSON.stringify(fast)}, clock ticks ${tick} ms`);

  // P pauses: no frame runs until "." plays exactly one, or P again resumes.
  await page.keyboard.press('p');
  const pausedAt = await page.evaluate(() => window.quarrowPage.frames);
  await sleep(300);
  const stillAt = await page.evaluate(() => window.quarrowPage.frames);
  await page.keyboard.press('.');
  await sleep(100);
  const steppedTo = await page.evaluate(() => window.quarrowPage.frames);
  const pauseShown = await page.$eval('#pause', (b) => b.getAttribute('aria-pressed'));
  await page.keyboard.press('p');
  check(stillAt === pausedAt && steppedTo === pausedAt + 1 && pauseShown === 'true',
    `pause: frame ${pausedAt}, ${stillAt} after 300 ms, ${steppedTo} after ".", pressed ${pauseShown}`);

  // Max plays match 1 of seed 5 to its end as the runner does, and asks.
  await page.click('#max');
  await waitFor(page, () => window.quarrowPage.state === 'asking');
  let played = await page.evaluate(() => window.quarrowPage.frames);
  let asked = await text(page, 'question-text');
  check(played === runnerMatches[0][1] && asked === `Team ${runnerMatches[0][2]} won the game. Restart?`,
    `match 1: ${played} frames, "${asked}"; the runner: ${runnerMatches[0][1]} frames, team ${runnerMatches[0][2]}`);
  const news = await page.$eval('#news', (p) => [p.getAttribute('aria-live'), p.textContent]);
  check(news.join() === `polite,Team ${runnerMatches[0][2]} won the match.`, `the match in words: ${news}`);
  // Escape never dismisses the question, however often it comes.
  for (let k = 0; k < 4; k++) {
    await page.keyboard.press('Escape');
  }
  check(await page.evaluate(() => document.getElementById('question').open && window.quarrowPage.state === 'asking' &&
    document.activeElement.id === 'yes'), 'Escape four times: the question stays, with Yes focused');
  await page.keyboard.press('Enter');  // Yes is the default
  await waitFor(page, () => window.quarrowPage.state === 'asking' && window.quarrowPage.match === 2);
  played = await page.evaluate(() => window.quarrowPage.frames);
  asked = await text(page, 'question-text');
  const link = await page.$eval('#share a', (a) => a.getAttribute('href'));
  check(played === runnerMatches[1][1] && asked.includes(`Team ${runnerMatches[1][2]} `) && link === '?seed=5&match=2',
    `Yes: match 2 at once in Max, ${played} frames, "${asked}", link ${link}`);
  await page.click('#no');
  const frames = await page.evaluate(() => window.quarrowPage.frames);
  await sleep(200);
  check((await state(page)) === 'ended' && (await page.evaluate(() => window.quarrowPage.frames)) === frames &&
    (await text(page, 'status')).includes('Reload the page') &&
    (await page.evaluate(() => document.activeElement.id)) === 'status', 'No: the loop stops and the page says how to start again, focused');

  // The last picture stays: the window's colours at the markings, the players and the ground.
  const pixels = await page.evaluate(() => {
    const court = document.getElementById('court');
    const data = court.getContext('2d').getImageData(0, 0, court.width, court.height).data;
    const at = (x, y) => {
      const k = 4 * (Math.floor(y * 2) * court.width + Math.floor(x * 2));
      return [data[k], data[k + 1], data[k + 2]].join();
    };
    const q = window.quarrowPage;
    const things = [q.ball(), ...Array.from({ length: 10 }, (_, i) => q.player(i + 1))];
    const clear = (x, y) => things.every((t) => Math.abs(t.x - x) > 6 || Math.abs(t.y - y) > 6);
    const free = (xs) => { for (let y = 2; y < 167; y += 3) for (const x of xs) if (clear(x, y)) return [x, y]; return null; };
    const line = free([128.75]);
    const zone = free([20, 10, 30]);
    const ground = free([70, 90, 170, 190]);
    return {
      line: at(...line), zone: at(...zone), ground: at(...ground),
      players: things.slice(1).map((p) => at(p.x + 0.5, p.y + 0.5)),
    };
  });
  const playerColours = new Set(pixels.players);
  check(pixels.line === '0,0,0' && pixels.zone === '0,150,0' && pixels.ground === '239,239,239' &&
    playerColours.has('0,0,255') && playerColours.has('255,0,0') &&
    [...playerColours].every((c) => ['0,0,255', '255,0,0', '255,255,255'].includes(c)),
    `pixels: line ${pixels.line}, end zone ${pixels.zone}, ground ${pixels.ground}, players ${[...playerColours].join(' / ')}`);
  check(page.problems.length === 0, `no console error or failed request ${page.problems.join('; ')}`);

  // A drag with the ball dead places it at the pointer; dragged off the court, it rests just inside,
  // where a zone claims it.
  const drag = await open('?seed=1');
  await waitFor(drag, () => window.quarrowPage.state === 'playing' && window.quarrowPage.ball().team === 0);
  // The ball as each move leaves it, before a frame can move it on.
  await drag.evaluate(() => document.getElementById('court').addEventListener('pointermove', () => {
    window.placedBall = window.quarrowPage.ball();
  }));
  const box = await (await drag.$('#court')).boundingBox();
  const inside = { x: box.x + 2 + 100, y: box.y + 2 + 60 };
  await drag.mouse.move(inside.x - 10, inside.y);
  await drag.mouse.down();
  await drag.mouse.move(inside.x, inside.y);
  const placed = await drag.evaluate(() => window.placedBall);
  await drag.mouse.move(box.x - 30, inside.y);
  const outside = await drag.evaluate(() => window.placedBall);
  await drag.mouse.up();
  // Paused, the keys place it where the drag did: the cursor starts at the ball (0, 60).
  await drag.keyboard.press('p');
  await drag.focus('#court');
  await drag.keyboard.press('ArrowUp');
  await drag.keyboard.down('Shift');
  for (let k = 0; k < 10; k++) {
    await drag.keyboard.press('ArrowRight');
  }
  await drag.keyboard.up('Shift');
  await drag.keyboard.press('Enter');
  const keyed = await drag.evaluate(() => window.quarrowPage.ball());
  check(Math.abs(placed.x - 100) < 1e-3 && Math.abs(placed.y - 60) < 1e-3 && Math.abs(outside.x - 0.0001) < 1e-9,
    `drag: ball at (${placed.x}, ${placed.y}), then x ${outside.x} dragged off the court`);
  check(keyed.x === placed.x && keyed.y === placed.y, `keys: ball at (${keyed.x}, ${keyed.y})`);
  await drag.close();
  // A link to match 2 of a seeded run shows that match.
  const second = await open('?seed=5&match=2');
  await waitFor(second, () => window.quarrowPage.state === 'playing').then(() => second.click('#max'));
  await waitFor(second, () => window.quarrowPage.state === 'asking');
  const secondFrames = await second.evaluate(() => window.quarrowPage.frames);
  check(secondFrames === runnerMatches[1][1], `?seed=5&match=2: ${secondFrames} frames, the runner's ${runnerMatches[1][1]}`);

  // A play-on passes over a stalled match as the runner does, on the court of the link, and says
  // how far it has come, on the court too, at most twice a second, with Max and Fast disabled.
  const stalledRun = execFileSync(process.execPath, [runner, '--seed', '2', '--width', '1200', '--height', '800', '--matches', '2', '--csv', '-'],
    { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] }).trim().split('\n').slice(1).map((row) => row.split(',').map(Number));
  const on = await open('?seed=2&court=1200x800&match=2');
  await waitFor(on, () => window.quarrowPage.state === 'playing-on');
  const during = await on.evaluate(() => ({
    disabled: document.getElementById('max').disabled && document.getElementById('fast').disabled,
    court: document.getElementById('court').getAttribute('aria-label'),
  }));
  await waitFor(on, () => window.quarrowPage.state === 'playing');
  const after = await on.evaluate(() => ({ times: window.quarrowPage.statusTimes, width: document.getElementById('court').clientWidth }));
  // The last change ends the play-on, whenever it does.
  const said = after.times.slice(0, -1);
  const rate = Math.min(...said.slice(1).map((t, i) => t - said[i]));
  await on.click('#max');
  await waitFor(on, () => window.quarrowPage.state === 'asking');
  const onFrames = await on.evaluate(() => window.quarrowPage.frames);
  const onQuestion = await text(on, 'question-text');
  const onLink = await on.$eval('#share a', (a) => a.getAttribute('href'));
  check(stalledRun[0][1] === 200000 && stalledRun[0][2] === 0 && onFrames === stalledRun[1][1] &&
    onQuestion === `Team ${stalledRun[1][2]} won the game. Restart?` && onLink === '?seed=2&match=2&court=1200x800' &&
    after.width === 1200 && during.disabled && during.court.startsWith('Playing on to match 2') && said.length >= 1 && rate >= 490,
    `?seed=2&court=1200x800&match=2: ${onFrames} frames, "${onQuestion}", ${onLink}, ${after.width} wide; the runner ${JSON.stringify(stalledRun)}; ` +
    `during the play-on ${JSON.stringify(during)}, status said ${said.length} times, at least ${rate.toFixed(0)} ms apart`);
  await on.close();
  // A match further than the machine plays on to in about ten minutes is refused, naming the bound.
  const far = await open('?seed=1&match=4000000000000');
  await waitFor(far, () => window.quarrowPage.state === 'playing', undefined, 30000);
  const farLine = await text(far, 'status');
  check(/^Match 4000000000000 of seed 1 is further than this machine plays on to in about 10 minutes: match \d+ at most: playing from the clock\.$/.test(farLine),
    `match 4000000000000: "${farLine}"`);
  await far.close();

  // Bad addresses play from the clock and say why; no WebAssembly gets a message, not a blank.
  for (const [address, words] of [['?seed=4294967296', 'not a whole number from 0 to 4294967295'],
    ['?seed=7&match=0', 'not a whole number from 1'], ['?match=2', 'needs a seed']]) {
    const bad = await open(address);
    await waitFor(bad, () => window.quarrowPage.state === 'playing');
    const line = await text(bad, 'status');
    const seedLink = await bad.$eval('#share a', (a) => a.getAttribute('href'));
    check(line.includes(words) && /^\?seed=\d+$/.test(seedLink), `${address}: "${line}", playing ${seedLink}`);
    await bad.close();
  }
  // A trap in the core stops the loop with a word, not a frozen page; so does a missing WebAssembly.
  const trap = () => {
    let real;
    Object.defineProperty(window, 'createQuarrow', {
      configurable: true,
      set: (v) => { real = v; },
      get: () => real && ((options) => real(options).then((core) => {
        core._QuarrowPass = () => { throw new WebAssembly.RuntimeError('unreachable'); };
        return core;
      })),
    });
  };
  for (const [before, words] of [[trap, 'stopped on an internal fault (unreachable)'],
    [() => { delete window.WebAssembly; }, 'cannot run WebAssembly']]) {
    const failing = await open('', { before });
    await waitFor(failing, () => window.quarrowPage && window.quarrowPage.state === 'failed');
    const line = await text(failing, 'status');
    check(line.includes(words), `a failure in one line: "${line}"`);
  }
} catch (error) {
  check(false, error.stack);
} finally {
  await chromium.close();
}
process.exit(failures === 0 ? 0 : 1);
