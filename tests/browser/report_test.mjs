// The run report as a reader's browser shows it: each example's page and a failing run's page
// open in headless Chromium with no request but the page itself and no console message; the step
// list steps by click and arrow keys, lighting the channels each step evaluated; a failing run opens
// on its failing step; every page passes tidy.
// Usage: node report_test.mjs STORYLOOM SOURCE_DIR WORK_DIR
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { after, before, test } from "node:test";
import { pathToFileURL } from "node:url";

import puppeteer from "puppeteer-core";

// The program runs in the work folder, where the examples write their files.
const [program, source, work] = process.argv.slice(2).map((argument) => path.resolve(argument));
fs.mkdirSync(work, { recursive: true });
const examples = fs.readdirSync(path.join(source, "examples")).filter((name) => name.endsWith(".json")).sort();

// The examples by a path relative to the work folder, as a designer names them (and the page shows).
fs.rmSync(path.join(work, "examples"), { force: true });
fs.symlinkSync(path.join(source, "examples"), path.join(work, "examples"));

// Runs the graph with a report; its exit status, stderr and the page's path.
function report(graph, name) {
  const page = path.join(work, name + ".html");
  fs.rmSync(page, { force: true });
  const run = spawnSync(program, ["run", graph, "--report", page], { cwd: work, encoding: "utf8" });
  return { status: run.status, stderr: run.stderr, page };
}

// A copy of the quest example whose channel expectation nearest the middle step can never be met.
function failingGraph() {
  const graph = JSON.parse(fs.readFileSync(path.join(source, "examples", "quest_road.json"), "utf8"));
  const middle = graph.steps.length / 2;
  const step = graph.steps
    .map((item, index) => index)
    .filter((index) => graph.steps[index].expect?.channel)
    .sort((a, b) => Math.abs(a - middle) - Math.abs(b - middle))[0];
  const expect = graph.steps[step].expect;
  if ("value" in expect) expect.value += 1;
  else expect["text" in expect ? "text" : "ref"] = "something else";
  const file = path.join(work, "failing_road.json");
  fs.writeFileSync(file, JSON.stringify(graph));
  return { file, step, steps: graph.steps.length };
}

let browser;
before(async () => {
  const sandbox = process.getuid?.() === 0 ? ["--no-sandbox"] : [];
  browser = await puppeteer.launch({ executablePath: "/usr/bin/chromium", headless: true, args: sandbox });
});
after(async () => browser?.close());

// Opens a page, keeping every request and console message it makes.
async function open(file) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1400, height: 1000 });
  const url = pathToFileURL(file).href;
  const requests = [], messages = [];
  // Inlined pictures are data: URIs, part of the page: no request to the network or a file.
  page.on("request", (request) => {
    if (request.url() !== url && !request.url().startsWith("data:")) requests.push(request.url());
  });
  page.on("console", (message) => messages.push(`${message.type()}: ${message.text()}`));
  page.on("pageerror", (error) => messages.push(`page error: ${error.message}`));
  const start = performance.now();
  await page.goto(url, { waitUntil: "load" });
  return { page, requests, messages, milliseconds: performance.now() - start };
}

// The step shown, and the node (or listed channel) ids lit, as the page has them now.
function state(page) {
  return page.evaluate(() => ({
    current: document.querySelector(".step-list > li[aria-current]")?.id,
    shown: [...document.querySelectorAll("section.step")].filter((s) => s.offsetParent !== null).map((s) => s.id),
    lit: [...document.querySelectorAll("g.node.evaluated, .channel-list li.evaluated")].map((e) => e.id).sort(),
  }));
}

// The ids that step `index` should light: its evaluated channels, as the page's data holds them.
function expectedLit(page, index) {
  return page.evaluate((index) => {
    const ids = new Set(run.evaluated[index].map((id) => run.channels.indexOf(id)).filter((at) => at >= 0));
    return [...ids].map((at) => "channel-" + at).sort();
  }, index);
}

function tidy(file) {
  const result = spawnSync("tidy", ["-q", "-e", file], { encoding: "utf8" });
  assert.equal(result.stderr.trim(), "", `tidy on ${path.basename(file)}`);
  assert.equal(result.status, 0);
}

async function checkPage(file, steps) {
  tidy(file);
  const opened = await open(file);
  const { page } = opened;
  assert.deepEqual(opened.requests, [], "requests besides the page");
  assert.equal(await page.$$eval(".step-list > li", (entries) => entries.length), steps);
  assert.equal(await page.evaluate(() => run.evaluated.length), steps);
  return opened;
}

for (const example of examples) {
  test(`the report of ${example}`, async () => {
    const graph = JSON.parse(fs.readFileSync(path.join(source, "examples", example), "utf8"));
    const result = report(path.join("examples", example), path.parse(example).name);
    assert.equal(result.status, 0, result.stderr);
    const { page, messages, milliseconds } = await checkPage(result.page, graph.steps.length);
    console.log(`# ${example}: ${fs.statSync(result.page).size} bytes, opened in ${milliseconds.toFixed(0)} ms`);

    await page.click("#entry-2 a");
    let now = await state(page);
    assert.equal(now.current, "entry-2");
    assert.deepEqual(now.shown, ["step-2"]);
    assert.deepEqual(now.lit, await expectedLit(page, 2));
    // Independently of the page's data: a step that evaluates a channel lights that channel.
    if (graph.steps[2].evaluate)
      assert.ok(now.lit.includes("channel-" + graph.channels.findIndex((c) => c.id === graph.steps[2].evaluate)));
    // The lit channels are the ones the step's section lists as evaluated.
    const listed = await page.$$eval("#step-2 .evaluated code", (codes) => codes.map((code) => code.textContent));
    assert.deepEqual(new Set(listed), new Set(await page.evaluate(() => run.evaluated[2])));
    if (example === "quest_road.json") {
      assert.notEqual(now.lit.length, 0, "the quest's third step evaluates channels");
      const shot = path.join(work, "run-report.png");
      await page.screenshot({ path: shot });
      if (process.env.STORYLOOM_SCREENSHOT) fs.copyFileSync(shot, process.env.STORYLOOM_SCREENSHOT);
    }

    for (const [key, index] of [["ArrowDown", 3], ["ArrowRight", 4], ["ArrowUp", 3], ["ArrowLeft", 2]]) {
      await page.keyboard.press(key);
      now = await state(page);
      assert.equal(now.current, `entry-${index}`, key);
      assert.deepEqual(now.shown, [`step-${index}`], key);
      assert.deepEqual(now.lit, await expectedLit(page, index), key);
    }
    assert.deepEqual(messages, []);
    await page.close();
  });
}

test("a failing run writes its report, which opens on the failing step", async () => {
  const failing = failingGraph();
  const result = report(path.basename(failing.file), "failing_road");
  assert.equal(result.status, 1);
  assert.match(result.stderr, new RegExp(`step ${failing.step} \\(\\$\\.steps\\[${failing.step}\\]\\): expected`));
  const { page, messages } = await checkPage(result.page, failing.steps);
  const now = await state(page);
  assert.equal(now.current, `entry-${failing.step}`);
  assert.deepEqual(now.shown, [`step-${failing.step}`]);
  assert.equal(await page.$$eval(`.summary a[href="#step-${failing.step}"]`, (links) => links.length), 1);
  assert.deepEqual(messages, []);
  await page.close();
});
