// The built site in headless Chromium, served from 127.0.0.1 and checked
// against tintwalk-render; any console error fails a case.
//   node tests/web/site_test.js SITE-DIR TINTWALK-RENDER OUTPUT-DIR
// Prints one line per case and "web: N passed, N failed"; OUTPUT-DIR gets
// screenshots of the page and the gallery.
'use strict';

const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const { serve, launch } = require('../../web/tools/browser.js');

const [siteDir, renderer, outDir] = process.argv.slice(2).map((arg) => path.resolve(arg));
fs.mkdirSync(outDir, { recursive: true });
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'tintwalk-web-'));

// The renderer's PNG file, and its pixels as top-down RGB rows (the
// renderer writes every row unfiltered).
function render(community, seed, size, ticks) {
  const bytes = execFileSync(renderer, ['--community', community, '--seed', String(seed),
    '--size', size, '--ticks', String(ticks), '--output', '-', '--quiet'], { maxBuffer: 1 << 26 });
  const width = bytes.readUInt32BE(16);
  const idat = [];
  for (let at = 8; at < bytes.length; at += 12 + bytes.readUInt32BE(at)) {
    if (bytes.toString('latin1', at + 4, at + 8) === 'IDAT')
      idat.push(bytes.subarray(at + 8, at + 8 + bytes.readUInt32BE(at)));
  }
  const raw = zlib.inflateSync(Buffer.concat(idat));
  const rows = [];
  const stride = 3 * width + 1;
  for (let at = 0; at < raw.length; at += stride) rows.push(raw.subarray(at + 1, at + stride));
  return { bytes, rgb: Buffer.concat(rows) };
}

async function canvasRgb(page) {
  const rgba = await page.$eval('#picture', (canvas) =>
    Array.from(canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data));
  return Buffer.from(rgba.filter((_, i) => i % 4 !== 3));
}

function check(condition, what) {
  if (!condition) throw new Error(what);
}

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
    check((await canvasRgb(page)).equals(expected.rgb), 'canvas differs from the renderer\'s');
    const [download] = await Promise.all([page.waitForEvent('download'),
      how === 'key' ? page.keyboard.press('s') : page.click('#save')]);
    check(fs.readFileSync(await download.path()).equals(expected.bytes), 'saved PNG differs');
  }]);
}

cases.push(['live picture, paused by key, reproduced from its address', async (page, base) => {
  const query = '?community=paarsebergen&seed=5&size=400x240';
  await page.goto(`${base}/index.html${query}`);
  await waitDone(page, 30);
  await page.keyboard.press(' ');
  const paused = await ticks(page);
  const pixels = await canvasRgb(page);
  await page.waitForTimeout(100);
  check(await ticks(page) === paused, 'the picture went on while paused');
  check(pixels.equals(render('paarsebergen', 5, '400x240', paused).rgb), 'live canvas differs');
  check(page.url().endsWith(query), `address ${page.url()}`);
  await page.goto(`${page.url()}&ticks=${paused}`);
  await waitDone(page);
  check((await canvasRgb(page)).equals(pixels), 'the address did not reproduce the picture');
}]);

cases.push(['clock choice, controls by keyboard, one cell per device pixel', async (page, base) => {
  await page.goto(`${base}/index.html`);
  await waitDone(page);
  await page.screenshot({ path: path.join(outDir, 'page.png') });
  // The controls step aside while the picture runs and come back on a key.
  await page.waitForSelector('body.idle', { timeout: 10000 });
  await page.keyboard.press('Shift');
  check(!(await page.$('body.idle')), 'controls stay hidden after a key');
  await page.keyboard.press('f');
  await page.waitForFunction(() => document.fullscreenElement !== null);
  await page.keyboard.press('f');
  await page.waitForFunction(() => document.fullscreenElement === null);
  await page.keyboard.press('c');
  await page.keyboard.press('Escape');
  await page.focus('#seed');
  await page.keyboard.type('99');
  await page.keyboard.press('Tab');
  await page.selectOption('#community', 'somspaars');
  await page.waitForFunction(() => location.search === '?community=somspaars&seed=99');
  // The canvas fills a window of device scale 2 with a cell per device pixel.
  await (await page.context().newCDPSession(page)).send('Emulation.setDeviceMetricsOverride',
    { width: 641, height: 361, deviceScaleFactor: 2, mobile: false });
  await page.goto(`${base}/index.html`);
  await waitDone(page);
  const shape = await page.$eval('#picture', (canvas) => [canvas.width, canvas.height,
    canvas.getBoundingClientRect().width, canvas.getBoundingClientRect().height].join());
  check(shape === '1282,722,641,361', `canvas and box ${shape}`);
}]);

cases.push(['gallery of ten distinct live canvases, names and links', async (page, base) => {
  await page.goto(`${base}/gallery.html`);
  await page.waitForFunction(() => window.tintwalkGallery && window.tintwalkGallery.frames > 20);
  const names = await page.locator('#cards .name').allTextContents();
  const links = await page.$$eval('#cards a',
    (all) => all.map((a) => new URL(a.href).searchParams.get('community')));
  check(new Set(names).size === 10 && links.join() === names.join(), `${names} / ${links}`);
  const snapshot = () => page.$$eval('#cards canvas', (all) => all.map((c) => c.toDataURL()));
  const before = await snapshot();
  check(new Set(before).size === 10, 'the canvases are not ten distinct pictures');
  await page.waitForTimeout(300);
  check((await snapshot()).every((picture, i) => picture !== before[i]), 'a canvas is not live');
  await page.screenshot({ path: path.join(outDir, 'gallery.png'), fullPage: true });
}]);

cases.push(['bad parameters and an oversized picture: a notice', async (page, base) => {
  await page.goto(`${base}/index.html?community=nosuch&seed=-4&size=12x&ticks=many`);
  await waitDone(page);
  check((await notices(page)).length === 4 && await page.isVisible('#notice'), 'not four notices');
  await page.goto(`${base}/index.html?community=rock&seed=1&size=32768x32768&ticks=1`);
  await waitDone(page);
  const width = await page.$eval('#picture', (canvas) => canvas.width);
  check(/too large/.test(await notices(page)) && width > 1 && width < 32768, `width ${width}`);
  check(page.url().endsWith(`size=${width}x${width}&ticks=1`), 'the address lacks the size');
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
      check(errors.length === 0, `console errors: ${errors.join(' | ')}`);
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
