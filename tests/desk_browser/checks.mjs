import { rmSync } from "node:fs";

import { stopAll } from "./processes.mjs";

// Named checks run one after another: each says whether it held and, when not, why; the
// last line counts them in the form test runners read.
let passed = 0;
let failed = 0;

export async function check(name, body) {
  const started = Date.now();
  try {
    await body();
    passed += 1;
    console.log(`ok    ${name} (${((Date.now() - started) / 1000).toFixed(1)} s)`);
  } catch (e) {
    failed += 1;
    console.log(`FAIL  ${name}: ${e.message}`);
  }
}

export function expectEqual(what, actual, expected) {
  if (actual !== expected) throw new Error(`${what}: ${JSON.stringify(actual)}, not ${JSON.stringify(expected)}`);
}

export function expectMatch(what, actual, pattern) {
  if (typeof actual !== "string" || !pattern.test(actual)) {
    throw new Error(`${what}: ${JSON.stringify(actual)} does not match ${pattern}`);
  }
}

export function expect(what, condition, seen) {
  if (!condition) throw new Error(`${what}${seen === undefined ? "" : ` (seen: ${JSON.stringify(seen)})`}`);
}

// Runs `main(session)` and exits with its verdict, every program and the browser it left
// (session.browser) ended. The scratch folder `root` is kept only for a failure's logs.
export async function runChecks(root, main) {
  const session = {};
  try {
    await main(session);
  } catch (e) {
    failed += 1;
    console.log(`FAIL  ${e.message}`);
  } finally {
    await session.browser?.close();
    await stopAll();
  }
  console.log(`${passed} passed, ${failed} failed`);
  const ok = failed === 0 && passed > 0;
  if (ok) {
    rmSync(root, { recursive: true, force: true });
  } else {
    console.log(`the programs' logs are in ${root}`);
  }
  process.exit(ok ? 0 : 1);
}
