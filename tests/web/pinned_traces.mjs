// The WebAssembly runner under Node plays the pinned runs with the native runner's traces.
// Usage: node pinned_traces.mjs RUNNER.js TABLE

import { spawn } from 'node:child_process';
import { readFileSync } from 'node:fs';

const [runner, tablePath] = process.argv.slice(2);

// FNV-1a 64 in two 32-bit halves: times 2^40 + 0x1b3, modulo 2^64.
function fnv1a(state, bytes) {
  let { high, low } = state;
  for (const byte of bytes) {
    low = (low ^ byte) >>> 0;
    const lowProduct = low * 0x1b3;
    const carry = Math.floor(lowProduct / 0x100000000);
    high = (high * 0x1b3 + carry + ((low << 8) >>> 0)) % 0x100000000;
    low = lowProduct % 0x100000000;
  }
  return { high, low };
}

function traceHash(args) {
  return new Promise((resolve, reject) => {
    const child = spawn(process.execPath, [runner, ...args, '--trace', '-'], {
      stdio: ['ignore', 'pipe', 'pipe'],
    });
    let report = '';
    child.stderr.on('data', (chunk) => {
      report += chunk;
    });
    let state = { high: 0xcbf29ce4, low: 0x84222325 };
    child.stdout.on('data', (chunk) => {
      state = fnv1a(state, chunk);
    });
    child.on('error', reject);
    child.on('close', (code) => {
      const hex = (v) => v.toString(16).padStart(8, '0');
      resolve({ code, hash: hex(state.high) + hex(state.low), report });
    });
  });
}

let failures = 0;
const rows = readFileSync(tablePath, 'utf8')
  .split('\n')
  .filter((line) => line.trim() !== '' && !line.startsWith('#'));
const runs = rows.map((row) => {
  const [seed, matches, maxFrames, width, height, pinned] = row.trim().split(/\s+/);
  const args = ['--seed', seed, '--matches', matches, '--max-frames', maxFrames, '--width', width,
    '--height', height];
  return { args, pinned, result: traceHash(args) };
});
for (const { args, pinned, result } of runs) {
  const { code, hash, report } = await result;
  const ok = code === 0 && hash === pinned;
  failures += ok ? 0 : 1;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${args.join(' ')}: ${hash}${ok ? '' : `, pinned ${pinned}, status ${code}\n${report}`}`);
}
if (rows.length < 7) {
  console.log(`FAIL only ${rows.length} pinned runs in ${tablePath}`);
  failures += 1;
}
process.exit(failures === 0 ? 0 : 1);
