// The desk's page across the two platforms: the Linux desk watching the Windows display,
// and the Windows desk serving Chromium here while it watches a Linux display. Runs in the
// Wine prefix and X server that run_wine.sh prepares.
//   node wine_desk_test.mjs WINDOWS_BUILD LINUX_BUILD
import { mkdtempSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";

import { check, expectEqual, expectMatch, runChecks } from "./checks.mjs";
import { expectCountingDown, expectPicture, openBrowser, openPage, waitForRoom } from "./desk_page.mjs";
import { scratchDir } from "./processes.mjs";
import { sendRound, startDesk, startDisplay } from "./programs.mjs";

const windowsBuild = resolve(process.argv[2] ?? "build-win");
const linuxBuild = resolve(process.argv[3] ?? "build");
const root = mkdtempSync(join(tmpdir(), "pavlune-desk-wine."));
const configHome = scratchDir(root, "desk-config");
const sender = join(linuxBuild, "pavlune-send");

// The platform the display names is what tells that the desk watches the display meant,
// not one of the other platform's left on the port.
async function expectRoundRoom(page, name, platform, width, height) {
  const room = await waitForRoom(page, name, "shows Round 7", 10000, (r) => r.title === "Round 7");
  expectEqual("state", room.state, "answering");
  expectEqual("shown", room.shown, "round page");
  const runs = await page.$eval("article.room .runs", (e) => e.textContent);
  expectMatch("runs", runs, new RegExp(` on ${platform}`));
  await expectPicture(page, name, width, height);
  await expectCountingDown(page, name, 400);
}

async function main(session) {
  const browser = session.browser = await openBrowser(join(linuxBuild, "node"));

  await check("the Linux desk shows the Windows display's round and picture", async () => {
    const display = await startDisplay("windows-display", {
      program: join(windowsBuild, "pavlune.exe"), size: "800x450", root, wine: true });
    sendRound(sender, display.port, "Round 7", 600, 400);
    const desk = await startDesk("linux-desk", {
      program: join(linuxBuild, "pavlune-desk"), root, configHome, rooms: [`Windows room=127.0.0.1:${display.port}`] });
    const page = await openPage(browser, desk.url, "en");
    await expectRoundRoom(page, "Windows room", "Windows", 800, 450);
    await desk.stop();
    await display.stop();
  });

  await check("the Windows desk serves the page, in English and Chinese, for a Linux display", async () => {
    const display = await startDisplay("linux-display", {
      program: join(linuxBuild, "pavlune"), size: "640x480", root });
    sendRound(sender, display.port, "Round 7", 600, 400);
    const desk = await startDesk("windows-desk", {
      program: join(windowsBuild, "pavlune-desk.exe"), root, configHome, wine: true,
      rooms: [`Linux room=127.0.0.1:${display.port}`] });
    const page = await openPage(browser, desk.url, "en");
    await expectRoundRoom(page, "Linux room", "Linux", 640, 480);
    const zh = await openPage(browser, desk.url, "zh-CN");
    expectEqual("html lang", await zh.$eval("html", (e) => e.lang), "zh");
    const room = await waitForRoom(zh, "Linux room", "is live", 10000, (r) => r.state === "answering");
    expectEqual("state text", room.stateText, "在线");
    expectEqual("summary", await zh.$eval("#summary", (e) => e.textContent), "1 个赛室：1 个在 Round 7");
  });
}

await runChecks(root, main);
