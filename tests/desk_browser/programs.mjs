// Pavlune's own programs as the browser tests run them: Linux builds directly, Windows
// builds under `wine` (in the prefix and X server that the Wine script prepared).
import { Program, runTool, scratchDir } from "./processes.mjs";

// Wine makes its prefix's programs slower to start than native ones.
const startTime = (wine) => (wine ? 60000 : 15000);

// A display of its own: its runtime folder decides which copy is the only one, and its
// state and settings folders keep it from the user's.
export async function startDisplay(name, { program, size, root, port = 0, wine = false }) {
  const dir = scratchDir(root, name);
  const argv = [program, "--port", String(port), "--size", size, "--no-restore"];
  const display = new Program(name, wine ? ["wine", ...argv] : [...argv, "-platform", "offscreen"], {
    logDir: root,
    env: {
      XDG_RUNTIME_DIR: scratchDir(dir, "run"),
      XDG_STATE_HOME: scratchDir(dir, "state"),
      XDG_CONFIG_HOME: scratchDir(dir, "config"),
      LANG: "en_GB.UTF-8",
      LC_ALL: undefined,
    },
  });
  const [, listening] = await display.waitForLine(/listening on port (\d+)/, startTime(wine));
  display.port = Number(listening);
  return display;
}

// Without `rooms` the desk watches those of desk.conf in `configHome` and keeps the
// page's changes there.
export async function startDesk(name, { program, root, configHome, rooms = [], wine = false }) {
  const argv = [program, "--no-browser", "--port", "0", ...rooms.flatMap((room) => ["--room", room])];
  const desk = new Program(name, wine ? ["wine", ...argv] : argv, {
    logDir: root,
    env: { XDG_CONFIG_HOME: configHome, LANG: "en_GB.UTF-8", LC_ALL: undefined },
  });
  const [, url] = await desk.waitForLine(/pavlune-desk: serving (http:\/\/\S+)/, startTime(wine));
  desk.url = url;
  return desk;
}

export function sendRound(sender, port, title, length, remaining) {
  runTool([sender, "round", "--port", String(port), "--title", title, "--length", String(length),
    "--remaining", String(remaining)]);
}
