// The desk's page in Debian's Chromium, and what a director reads off it.
import { createRequire } from "node:module";
import { join } from "node:path";

import { expect, expectEqual } from "./checks.mjs";
import { sleep, waitUntil } from "./processes.mjs";

const CHROMIUM = "/usr/bin/chromium";

// puppeteer-core lives in the build tree (scripts/deps puts it there), not beside this file.
export async function openBrowser(nodeDir) {
  const require = createRequire(join(nodeDir, "package.json"));
  let puppeteer;
  try {
    puppeteer = require("puppeteer-core");
  } catch (e) {
    throw new Error(`no puppeteer-core in ${nodeDir} (run scripts/deps): ${e.message}`);
  }
  // Chromium's sandbox refuses to start as root.
  const args = process.getuid() === 0 ? ["--no-sandbox"] : [];
  return puppeteer.launch({ executablePath: CHROMIUM, headless: true, args: [...args, "--disable-gpu"] });
}

export async function openPage(browser, url, language) {
  const page = await browser.newPage();
  // A fault in the page's script shows only as a page that stays empty: kept to be told.
  page.errors = [];
  page.on("pageerror", (e) => page.errors.push(e.message));
  await page.setViewport({ width: 1280, height: 800 });
  await page.setExtraHTTPHeaders({ "Accept-Language": language });
  await page.goto(url, { waitUntil: "load", timeout: 15000 });
  return page;
}

export function readRooms(page) {
  return page.evaluate(() => [...document.querySelectorAll("article.room")].map((card) => {
    const text = (selector) => card.querySelector(selector)?.textContent ?? "";
    const img = card.querySelector(".frame img.screen");
    return {
      id: card.dataset.id,
      state: card.dataset.state,
      name: text(".name"),
      address: text(".address"),
      stateText: text(".state"),
      shown: text(".shown"),
      title: text(".title"),
      remaining: text(".remaining"),
      overtime: card.querySelector(".remaining")?.classList.contains("overtime") ?? false,
      picture: img && {
        loaded: img.complete,
        naturalWidth: img.naturalWidth,
        naturalHeight: img.naturalHeight,
        width: Number(img.getAttribute("width")),
        height: Number(img.getAttribute("height")),
      },
    };
  }));
}

// The named room's card once `holds` is true of it.
export async function waitForRoom(page, name, what, ms, holds) {
  let last;
  let notice = "";
  return waitUntil(`${name}: ${what}`, ms, async () => {
    last = (await readRooms(page)).find((room) => room.name === name);
    notice = await page.$eval("#notice", (e) => e.textContent);
    return last && holds(last) ? last : undefined;
  }, () => JSON.stringify(last ?? "no such room") + (notice ? `; the page says: ${notice}` : "") +
    (page.errors.length ? `; the page's script failed: ${[...new Set(page.errors)].join("; ")}` : ""));
}

// The picture as the display sent it: loaded, and of the display's own proportions.
export async function expectPicture(page, name, width, height) {
  const room = await waitForRoom(page, name, "its picture loads", 15000,
    (r) => r.picture?.loaded && r.picture.naturalWidth > 0);
  const { naturalWidth: w, naturalHeight: h } = room.picture;
  expect(`${name}: a ${w}x${h} picture is not of a ${width}x${height} screen's proportions`,
    Math.abs(w * height / width - h) <= 1);
  expectEqual(`${name}: the picture's width attribute`, room.picture.width, w);
  expectEqual(`${name}: the picture's height attribute`, room.picture.height, h);
}

function seconds(clock) {
  const match = /^(\d\d):(\d\d)$/.exec(clock);
  if (!match) throw new Error(`the time left "${clock}" is not MM:SS`);
  return Number(match[1]) * 60 + Number(match[2]);
}

// The page counts the time left down by itself between the display's answers.
export async function expectCountingDown(page, name, atMost) {
  const first = await waitForRoom(page, name, "shows a time left", 5000, (r) => r.remaining !== "");
  await sleep(1500);
  const second = (await readRooms(page)).find((room) => room.name === name);
  const before = seconds(first.remaining);
  const after = seconds(second.remaining);
  expect(`${name}: the time left ${first.remaining} is more than the ${atMost} s sent`, before <= atMost && before > 0);
  expect(`${name}: the time left did not go down in 1.5 s (${first.remaining}, then ${second.remaining})`, after < before);
  expect(`${name}: the time left ${second.remaining} is shown as overtime`, !second.overtime);
}
