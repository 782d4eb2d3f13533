// The programs a browser test starts: each in a process group of its own, so that a Wine
// program's helpers go with it, its output kept in a log file, and every one ended when
// the test ends, however it ends.
import { spawn, spawnSync } from "node:child_process";
import { closeSync, mkdirSync, openSync, readFileSync } from "node:fs";
import net from "node:net";
import { constants } from "node:os";
import { join } from "node:path";

const running = new Set();

// `undefined` in `changes` takes a variable away.
function environment(changes) {
  const env = { ...process.env, ...changes };
  for (const [name, value] of Object.entries(env)) {
    if (value === undefined) delete env[name];
  }
  return env;
}

function endAll(signal) {
  for (const child of running) {
    try { process.kill(-child.pid, signal); } catch { /* already gone */ }
  }
  running.clear();
}

process.on("exit", () => endAll("SIGKILL"));
for (const signal of ["SIGINT", "SIGTERM", "SIGHUP"]) {
  process.on(signal, () => { endAll("SIGKILL"); process.exit(128 + constants.signals[signal]); });
}

// The programs still running, last started first ended.
export async function stopAll() {
  for (const program of [...running].reverse()) await program.stop();
}

export function sleep(ms) {
  return new Promise((resolve) => setTimeout(resolve, ms));
}

// Polls until `probe` gives something other than undefined; the error names what was awaited.
export async function waitUntil(what, ms, probe, lastSeen = () => "") {
  const deadline = Date.now() + ms;
  for (;;) {
    const value = await probe();
    if (value !== undefined) return value;
    if (Date.now() > deadline) {
      const seen = lastSeen();
      throw new Error(`${what}: not within ${ms / 1000} s${seen ? ` (last seen: ${seen})` : ""}`);
    }
    await sleep(100);
  }
}

// A port that was free a moment ago, for a listener the test starts later on purpose.
export function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.on("error", reject);
    server.listen(0, "127.0.0.1", () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

export function scratchDir(root, name) {
  const dir = join(root, name);
  mkdirSync(dir, { recursive: true, mode: 0o700 });
  return dir;
}

export class Program {
  constructor(name, argv, { env = {}, logDir }) {
    this.name = name;
    this.log = join(logDir, `${name}.log`);
    const fd = openSync(this.log, "a");
    this.child = spawn(argv[0], argv.slice(1), {
      env: environment(env),
      stdio: ["ignore", fd, fd],
      detached: true,
    });
    closeSync(fd);
    this.pid = this.child.pid;
    this.exited = new Promise((resolve) => this.child.on("exit", (code, signal) => resolve(signal ?? code)));
    this.child.on("error", (e) => { this.spawnError = e; });
    running.add(this);
  }

  output() {
    return readFileSync(this.log, "utf8");
  }

  // The first match of `pattern` in what the program printed.
  async waitForLine(pattern, ms) {
    let ended = false;
    this.exited.then(() => { ended = true; });
    return waitUntil(`${this.name} prints ${pattern}`, ms, () => {
      const match = this.output().match(pattern);
      if (match) return match;
      if (ended || this.spawnError) throw new Error(`${this.name} ended without printing ${pattern}:\n${this.output()}`);
      return undefined;
    });
  }

  async stop(signal = "SIGTERM") {
    if (!running.delete(this)) return;
    try { process.kill(-this.pid, signal); } catch { return; }
    const ended = await Promise.race([this.exited.then(() => true), sleep(5000).then(() => false)]);
    if (!ended) {
      try { process.kill(-this.pid, "SIGKILL"); } catch { /* gone meanwhile */ }
      await this.exited;
    }
  }
}

// A short command that must succeed, such as the sender.
export function runTool(argv, env = {}) {
  const result = spawnSync(argv[0], argv.slice(1), { env: environment(env), encoding: "utf8", timeout: 20000 });
  if (result.status !== 0) {
    throw new Error(`${argv.join(" ")} failed (${result.error ?? `exit ${result.status}`}): ${result.stderr}${result.stdout}`);
  }
  return result.stdout;
}
