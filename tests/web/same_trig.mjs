// The WebAssembly build's trigonometric values, every one, against the native build's.
// Usage: node same_trig.mjs NATIVE WASM.js

import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const [native, wasm] = process.argv.slice(2);
const folder = mkdtempSync(join(tmpdir(), 'quarrow-trig-'));
const values = (command, args, name) => {
  execFileSync(command, [...args, join(folder, name)], { stdio: 'inherit' });
  return readFileSync(join(folder, name), 'utf8').split('\n');
};
let ours, theirs;
try {
  ours = values(native, [], 'native');
  theirs = values(process.execPath, [wasm], 'wasm');
} finally {
  rmSync(folder, { recursive: true });
}
const differing = ours.filter((line, i) => line !== theirs[i]);
const ok = ours.length === theirs.length && ours.length > 390_000 && differing.length === 0;
console.log(`${ok ? 'ok  ' : 'FAIL'} ${ours.length - 1} trigonometric values alike in both builds` +
  (ok ? '' : `: ${differing.length} differ (${theirs.length - 1} from WebAssembly), the first: ${differing[0]}`));
process.exit(ok ? 0 : 1);
