// The built site in headless Chromium, checked against tintwalk-render; a
// console error fails a case. OUTPUT-DIR gets screenshots to look at.
//   node tests/web/site_test.js SITE-DIR TINTWALK-RENDER OUTPUT-DIR
'use strict';

const assert = require('assert');
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { serve, launch } = require('../../web/tools/browser.js');

const [siteDir, renderer, outDir] = process.argv.slice(2).map((arg) => path.resolve(arg));
fs.mkdirSync(outDir, { recursive: true });
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'tintwalk-web-'));

function render(community, seed, size, ticks) {
  return execFileSync(renderer, ['--community', community, '--seed', String(seed),
    '--size', size, '--ticks', String(ticks), '--output', '-', '--quiet'], { maxBuffer: 1 << 26 });
}

// Whether the canvas shows the picture of a PNG file pixel for pixel, as
// the browser decodes the file without colour conversion.
const shows = (page, png) => page.evaluate(async (base64) => {
  const file = new Blob([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))]);
  const bitmap = await createImageBitmap(file, { colorSpaceConversion: 'none' });
  const decoded = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
  decoded.drawImage(bitmap, 0, 0);
  const want = decoded.getImageData(0, 0, bitmap.width, bitmap.height).data;
  const canvas = document.getElementById('picture');
  const have = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
  return want.length === have.length && want.every((value, i) => value === have[i]);
}, png.toString('base64'));

const waitDone = (page, least = 0) => page.waitForFunction(
  (least) => window.tintwalkPage?.done && window.tintwalkPage.picture().ticks >= least, least);
const ticks = (page) => page.evaluate(() => window.tintwalkPage.picture().ticks);
const notices = (page) => page.evaluate(() => window.tintwalkPage.notices);
const cases = [];

// A finished picture from its address, or with reduced motion the picture
// of one minute: the canvas and the saved file equal the renderer's, for an
// odd width, a single column and a single row.
for (const [community, seed, size, count, how] of [['fel', 7, '641x359', 60, 'key'],
  ['rock', 3, '1x1500', 40, 'button'], ['geo&vlekkensnel', 4000000000, '1500x1', 30, 'key'],
  ['somspaars', 8, '120x90', 4615, 'reduced motion']]) {
  cases.push([`${community} ${size}, ${how}`, async (page, base) => {
    const query = new URLSearchParams({ community, seed, size });
    if (how === 'reduced motion') await page.emulateMedia({ reducedMotion: 'reduce' });
    else query.set('ticks', count);
    await page.goto(`${base}/index.html?${query}`);
    await waitDone(page);
    const expected = render(community, seed, size, count);
    assert(await shows(page, expected), 'the canvas differs from the renderer\'s picture');
    const [download] = await Promise.all([page.waitForEvent('download'),
      how === 'key' ? page.keyboard.press('s') : page.click('#save')]);
    assert(fs.readFileSync(await download.path()).equals(expected), 'saved PNG differs');
  }]);
}

cases.push(['live picture, paused by key, reproduced from its address', async (page, base) => {
  const query = '?community=paarsebergen&seed=5&size=400x240';
  await page.goto(`${base}/index.html${query}`);
  await waitDone(page, 30);
  await page.keyboard.press(' ');
  const paused = await ticks(page);
  const expected = render('paarsebergen', 5, '400x240', paused);
  assert(await shows(page, expected), 'the live canvas differs from the renderer\'s picture');
  await page.waitForTimeout(100);
  assert(await ticks(page) === paused, 'the picture went on while paused');
  assert(page.url().endsWith(query), `address ${page.url()}`);
  await page.goto(`${page.url()}&ticks=${paused}`);
  await waitDone(page);
  assert(await shows(page, expected), 'the address did not reproduce the picture');
}]);

cases.push(['clock choice, controls by keyboard, one cell per device pixel', async (page, base) => {
  await page.goto(`${base}/index.html`);
  await waitDone(page);
  await page.screenshot({ path: path.join(outDir, 'page.png') });
  // The controls step aside while the picture runs and come back on a key.
  await page.waitForSelector('body.idle', { timeout: 10000 });
  await page.keyboard.press('Shift');
  assert(!(await page.$('body.idle')), 'controls stay hidden after a key');
  await page.keyboard.press('f');
  await page.waitForFunction(() => document.fullscreenElement !== null);
  await page.keyboard.press('f');
  await page.waitForFunction(() => document.fullscreenElement === null);
  // c goes to the community, the next control is the seed.
  await page.keyboard.press('c');
  await page.keyboard.press('Tab');
  await page.keyboard.type('99');
  await page.keyboard.press('Tab');
  await page.keyboard.press('c');
  await page.keyboard.type('som');
  await page.waitForFunction(() => location.search === '?community=somspaars&seed=99');
  // The canvas fills a window of device scale 2 with a cell per device pixel.
  await (await page.context().newCDPSession(page)).send('Emulation.setDeviceMetricsOverride',
    { width: 641, height: 361, deviceScaleFactor: 2, mobile: false });
  await page.goto(`${base}/index.html`);
  await waitDone(page);
  const shape = await page.$eval('#picture', (canvas) => [canvas.width, canvas.height,
    canvas.getBoundingClientRect().width, canvas.getBoundingClientRect().height].join());
  assert(shape === '1282,722,641,361', `canvas and box ${shape}`);
}]);

cases.push(['gallery of ten distinct live canvases, names and links', async (page, base) => {
  await page.goto(`${base}/gallery.html`);
  await page.waitForFunction(() => window.tintwalkGallery && window.tintwalkGallery.frames > 20);
  const names = await page.locator('#cards .name').allTextContents();
  const links = await page.$$eval('#cards a',
    (all) => all.map((a) => new URL(a.href).searchParams.get('community')));
  assert(new Set(names).size === 10 && links.join() === names.join(), `${names} / ${links}`);
  const snapshot = () => page.$$eval('#cards canvas', (all) => all.map((c) => c.toDataURL()));
  const before = await snapshot();
  assert(new Set(before).size === 10, 'the canvases are not ten distinct pictures');
  await page.waitForTimeout(300);
  assert((await snapshot()).every((picture, i) => picture !== before[i]), 'a canvas is not live');
  await page.screenshot({ path: path.join(outDir, 'gallery.png'), fullPage: true });
}]);

cases.push(['bad parameters, an oversized picture; the module refuses', async (page, base) => {
  await page.goto(`${base}/index.html?community=nosuch&seed=-4&size=12x&ticks=many`);
  await waitDone(page);
  assert((await notices(page)).length === 4 && await page.isVisible('#notice'), 'not four notices');
  await page.goto(`${base}/index.html?community=rock&seed=1&size=32768x32768&ticks=1`);
  await waitDone(page);
  const width = await page.$eval('#picture', (canvas) => canvas.width);
  assert(/too large/.test(await notices(page)) && width > 1 && width < 32768, `width ${width}`);
  assert(page.url().endsWith(`size=${width}x${width}&ticks=1`), 'the address lacks the size');
  // The module refuses what the renderer refuses, though the page never asks it to.
  const bad = [[-1, 9, 9], [10, 9, 9], [0, 0, 9], [0, 9, -3], [0, 32769, 1], [0, 1, 32769]];
  const started = await page.evaluate((bad) => bad.map(([row, width, height]) => {
    const picture = window.tintwalkPage.picture();
    return picture.start(row, 1, width, height) !== -1 || picture.module._tw_rgba() !== 0;
  }), bad);
  assert(!started.includes(true), `started: ${started}`);
}]);

async function main() {
  const { base, stop } = await serve(siteDir);
  process.on('exit', () => { stop(); fs.rmSync(scratch, { recursive: true, force: true }); });
  const context = await launch(path.join(scratch, 'profile'));
  let passed = 0;
  for (const [name, run] of cases) {
    const page = await context.newPage();
    // A shared machine can be slow; nothing here is a timing check.
    page.setDefaultTimeout(60000);
    const errors = [];
    page.on('console', (line) => { if (line.type() === 'error') errors.push(line.text()); });
    page.on('pageerror', (error) => errors.push(String(error)));
    page.on('response', (reply) => { if (reply.status() >= 400) errors.push(reply.url()); });
    try {
      await run(page, base);
      assert(errors.length === 0, `console errors: ${errors.join(' | ')}`);
      ++passed;
      console.log(`ok    ${name}`);
    } catch (error) {
      console.log(`FAIL  ${name}: ${error.message.split('\n')[0]}`);
    }
    await page.close();
  }
  await context.close();
  console.log(`web: ${passed} passed, ${cases.length - passed} failed`);
  process.exit(passed === cases.length ? 0 : 1);
}

main().catch((error) => {
  console.log(`FAIL  ${error.message}\nweb: 0 passed, 1 failed`);
  process.exit(1);
});
