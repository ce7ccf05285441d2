// Headless Chromium or Firefox (over WebDriver BiDi) with the page served from a folder on this
// machine only: for the page's tests and its benchmark.

import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import http from 'node:http';
import { tmpdir } from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm', '.svg': 'image/svg+xml', '.png': 'image/png' };

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
export const waitFor = (page, fn, arg, timeout = 20000) => page.waitForFunction(fn, { timeout, polling: 20 }, arg);

// name: chromium or firefox; dark: the page sees prefers-color-scheme: dark.
export async function startBrowser(pageDir, { name = 'chromium', dark = false } = {}) {
  const server = http.createServer((request, response) => {
    const name = new URL(request.url, 'http://x').pathname.replace(/\/$/, '/index.html');
    const file = path.join(pageDir, path.normalize(name));
    try {
      const body = readFileSync(file);
      response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const base = `http://127.0.0.1:${server.address().port}/`;
  const profile = mkdtempSync(path.join(tmpdir(), `quarrow-${name}-`));
  const firefox = name === 'firefox';
  const browser = await puppeteer.launch(firefox ? {
    browser: 'firefox',
    executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
    headless: true,
    userDataDir: profile,
    // BiDi has no media emulation: dark is a preference.
    extraPrefsFirefox: dark ? { 'layout.css.prefers-color-scheme.content-override': 0 } : {},
  } : {
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: [
      ...(process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : []),
      '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync',
    ],
  });
  return {
    // A fresh page at an address, with every console error, page error and failed request noted.
    // fresh: with no HTTP cache or service worker (Chromium), as on a first visit.
    async open(address, { scale = 1, width = 640, height = 400, before = null, fresh = false } = {}) {
      const page = await browser.newPage();
      if (fresh) {
        await page.setCacheEnabled(false);
        await page.setBypassServiceWorker(true);
      }
      await page.setViewport({ width, height, deviceScaleFactor: scale });
      if (dark && !firefox) {
        await page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: 'dark' }]);
      }
      page.problems = [];
      page.on('console', (m) => m.type() === 'error' && page.problems.push(`console: ${m.text()}`));
      page.on('pageerror', (e) => page.problems.push(`page error: ${e.message}`));
      page.on('response', (r) => r.status() >= 400 && page.problems.push(`${r.status()} ${r.url()}`));
      page.on('requestfailed', (r) => page.problems.push(`failed ${r.url()}`));
      if (before) {
        await page.evaluateOnNewDocument(before);
      }
      await page.goto(base + address);
      return page;
    },
    // From here on every request to the server fails, as on a machine gone offline.
    async stopServing() {
      server.closeAllConnections();
      await new Promise((resolve) => server.close(resolve));
    },
    async close() {
      await browser.close();
      server.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}
