// The WebAssembly runner under Node plays the pinned runs with the native runner's traces.
// Usage: node pinned_traces.mjs RUNNER.js TABLE

import { spawn } from 'node:child_process';
import { readFileSync } from 'node:fs';

const [runner, table] = process.argv.slice(2);

// FNV-1a 64 of the trace the runner writes, in two 32-bit halves: times 2^40 + 0x1b3, mod 2^64.
const traceHash = (args) => new Promise((resolve) => {
  const child = spawn(process.execPath, [runner, ...args, '--trace', '-'], { stdio: ['ignore', 'pipe', 'pipe'] });
  let [high, low, report] = [0xcbf29ce4, 0x84222325, ''];
  child.stdout.on('data', (bytes) => {
    for (const byte of bytes) {
      low = (low ^ byte) >>> 0;
      const product = low * 0x1b3;
      high = (high * 0x1b3 + Math.floor(product / 2 ** 32) + ((low << 8) >>> 0)) % 2 ** 32;
      low = product % 2 ** 32;
    }
  });
  child.stderr.on('data', (chunk) => { report += chunk; });
  const hex = (v) => v.toString(16).padStart(8, '0');
  child.on('close', (code) => resolve({ code, hash: hex(high) + hex(low), report }));
});

const runs = readFileSync(table, 'utf8').split('\n').filter((line) => /^\d/.test(line)).map((row) => {
  const [seed, matches, maxFrames, width, height, pinned] = row.trim().split(/\s+/);
  const args = ['--seed', seed, '--matches', matches, '--max-frames', maxFrames, '--width', width, '--height', height];
  return { args, pinned, result: traceHash(args) };
});
let failures = runs.length < 7 ? 1 : 0;  // a table cut short fails too
for (const { args, pinned, result } of runs) {
  const { code, hash, report } = await result;
  const ok = code === 0 && hash === pinned;
  failures += ok ? 0 : 1;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${args.join(' ')}: ${hash}${ok ? '' : `, pinned ${pinned}, status ${code}\n${report}`}`);
}
process.exit(failures === 0 ? 0 : 1);
