// The desk's page in Chromium, watching real Linux displays: what each room shows, rooms
// that stop and start answering, rooms added in the page and kept, and the Chinese page.
//   node linux_desk_test.mjs BUILD_DIR
// BUILD_DIR holds pavlune, pavlune-desk, pavlune-send and node/ (from scripts/deps); the
// page's picture is saved as BUILD_DIR/test-results/desk.png.
import { mkdirSync, mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";

import { check, expect, expectEqual, expectMatch, runChecks } from "./checks.mjs";
import { expectCountingDown, expectPicture, openBrowser, openPage, readRooms, waitForRoom } from "./desk_page.mjs";
import { freePort, scratchDir } from "./processes.mjs";
import { sendRound, startDesk, startDisplay } from "./programs.mjs";

const build = resolve(process.argv[2] ?? "build");
const program = (name) => join(build, name);
const root = mkdtempSync(join(tmpdir(), "pavlune-desk-browser."));
const configHome = scratchDir(root, "desk-config");
const confPath = join(configHome, "pavlune", "desk.conf");

// A room's display answers within two status requests (2 s apart) of a change.
const TURN_TIME = 5000;

const ROUND = "Table room";
const INFO = "Info room";
const DARK = "Dark room";

let deskStarts = 0;
async function startRoomsDesk() {
  deskStarts += 1;
  return startDesk(`desk-${deskStarts}`, { program: program("pavlune-desk"), root, configHome });
}

async function main(session) {
  const round = await startDisplay("round-display", { program: program("pavlune"), size: "800x450", root });
  const info = await startDisplay("info-display", { program: program("pavlune"), size: "640x480", root });
  sendRound(program("pavlune-send"), round.port, "Round 7", 600, 400);
  const darkPort = await freePort();
  mkdirSync(join(configHome, "pavlune"), { recursive: true });
  writeFileSync(confPath, `${ROUND} = 127.0.0.1:${round.port}\n${INFO} = 127.0.0.1:${info.port}\n` +
    `${DARK} = 127.0.0.1:${darkPort}\n`);
  let desk = await startRoomsDesk();
  const browser = session.browser = await openBrowser(join(build, "node"));
  let page = await openPage(browser, desk.url, "en");

  await check("each display's picture loads, in its screen's proportions", async () => {
    await expectPicture(page, ROUND, 800, 450);
    await expectPicture(page, INFO, 640, 480);
  });
  await check("the round page's room shows the round and a time left counting down", async () => {
    const room = await waitForRoom(page, ROUND, "shows Round 7", TURN_TIME, (r) => r.title === "Round 7");
    expectEqual("state", room.state, "answering");
    expectEqual("state text", room.stateText, "live");
    expectEqual("shown", room.shown, "round page");
    await expectCountingDown(page, ROUND, 400);
  });
  await check("the information screen's room says so, with no round or time", async () => {
    const room = await waitForRoom(page, INFO, "is live", TURN_TIME, (r) => r.state === "answering");
    expectEqual("shown", room.shown, "information screen");
    expectEqual("title", room.title, "");
    expectEqual("time left", room.remaining, "");
  });
  await check("the room where nothing listens is not answering, since a time of day", async () => {
    const room = await waitForRoom(page, DARK, "is not answering", TURN_TIME, (r) => r.state === "not answering");
    expectMatch("state text", room.stateText, /^not answering since \d\d:\d\d:\d\d$/);
  });
  await check("the summary counts the rooms by what they show", async () => {
    const summary = await page.$eval("#summary", (e) => e.textContent);
    expectEqual("summary", summary, "3 rooms: 1 on Round 7, 1 on the information screen, 1 not answering");
  });
  mkdirSync(join(build, "test-results"), { recursive: true });
  await page.screenshot({ path: join(build, "test-results", "desk.png") });

  await check("a display started on the silent room's port turns live within 5 s", async () => {
    await startDisplay("late-display", { program: program("pavlune"), size: "800x450", root, port: darkPort });
    await waitForRoom(page, DARK, "turns live", TURN_TIME, (r) => r.state === "answering" && r.stateText === "live");
  });
  await check("a display that is killed turns not answering within 5 s", async () => {
    await info.stop("SIGKILL");
    const room = await waitForRoom(page, INFO, "turns not answering", TURN_TIME, (r) => r.state === "not answering");
    expectEqual("shown", room.shown, "");
  });

  const addedAddress = `127.0.0.1:${await freePort()}`;
  await check("a room added in the page is written to desk.conf", async () => {
    await addRoom(page, "Room 4", addedAddress);
    await waitForRoom(page, "Room 4", "is listed", TURN_TIME, (r) => r.address === addedAddress);
    expectEqual("#add-error", await page.$eval("#add-error", (e) => e.textContent), "");
    expect(`desk.conf has no line for Room 4`, readFileSync(confPath, "utf8").split("\n").includes(`Room 4 = ${addedAddress}`),
      readFileSync(confPath, "utf8"));
  });
  await check("a room on port 70000 is refused with the reason, and desk.conf is left as it was", async () => {
    const before = readFileSync(confPath, "utf8");
    await addRoom(page, "Room 5", "127.0.0.1:70000");
    const error = await page.waitForFunction(() => document.querySelector("#add-error").textContent, { timeout: TURN_TIME });
    expectEqual("#add-error", await error.jsonValue(), 'the port must be a number from 1 to 65535, not "70000"');
    expectEqual("desk.conf", readFileSync(confPath, "utf8"), before);
    expect("Room 5 is listed", !(await readRooms(page)).some((r) => r.name === "Room 5"));
  });
  await check("after the desk restarts, the room added in the page is still listed", async () => {
    await desk.stop();
    desk = await startRoomsDesk();
    await page.close();
    page = await openPage(browser, desk.url, "en");
    await waitForRoom(page, "Room 4", "is listed", TURN_TIME, (r) => r.address === addedAddress);
    const names = (await readRooms(page)).map((r) => r.name);
    expectEqual("rooms", names.join(", "), [ROUND, INFO, DARK, "Room 4"].join(", "));
  });
  await check("a browser that asks for Chinese gets the page in Chinese", async () => {
    const zh = await openPage(browser, desk.url, "zh-CN,zh;q=0.9,en;q=0.8");
    expectEqual("html lang", await zh.$eval("html", (e) => e.lang), "zh");
    expectEqual("add button", await zh.$eval("#add-button", (e) => e.textContent), "添加");
    const live = await waitForRoom(zh, ROUND, "is live", TURN_TIME, (r) => r.state === "answering");
    expectEqual("state text", live.stateText, "在线");
    expectEqual("shown", live.shown, "轮次页");
    const dark = await waitForRoom(zh, INFO, "is not answering", TURN_TIME, (r) => r.state === "not answering");
    expectMatch("state text", dark.stateText, /^自 \d\d:\d\d:\d\d 起无应答$/);
    expectMatch("summary", await zh.$eval("#summary", (e) => e.textContent), /^4 个赛室：/);
  });
}

async function addRoom(page, name, address) {
  await page.$eval("#add-name", (e) => { e.value = ""; });
  await page.$eval("#add-address", (e) => { e.value = ""; });
  await page.type("#add-name", name);
  await page.type("#add-address", address);
  await page.click("#add-button");
}

await runChecks(root, main);
