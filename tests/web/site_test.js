// The built web site in headless Chromium, served from 127.0.0.1, checked
// against tintwalk-render: canvas pixels, saved PNG bytes, addresses, the
// gallery, bad parameters and an oversized picture.
//   node tests/web/site_test.js SITE-DIR TINTWALK-RENDER OUTPUT-DIR
// Prints one line per case and "web: N passed, N failed"; the output folder
// gets screenshots of the page and the gallery.
'use strict';

const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');

const root = path.resolve(__dirname, '../..');
const { serve, launch } = require(path.join(root, 'web/tools/browser.js'));

const [siteDir, renderer, outDir] = process.argv.slice(2).map((arg) => path.resolve(arg));
if (!outDir) {
  console.error('usage: node tests/web/site_test.js SITE-DIR TINTWALK-RENDER OUTPUT-DIR');
  process.exit(2);
}
fs.mkdirSync(outDir, { recursive: true });
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'tintwalk-web-'));

// The renderer's PNG for a picture, as bytes and as top-down RGB rows.
function render(community, seed, size, ticks) {
  const file = path.join(scratch, `render-${community.replace(/\W/g, '')}-${seed}-${size}-${ticks}.png`);
  execFileSync(renderer, ['--community', community, '--seed', String(seed), '--size', size,
                          '--ticks', String(ticks), '--output', file], { stdio: 'ignore' });
  const bytes = fs.readFileSync(file);
  const width = bytes.readUInt32BE(16);
  const height = bytes.readUInt32BE(20);
  const idat = [];
  for (let at = 8; at < bytes.length;) {
    const length = bytes.readUInt32BE(at);
    if (bytes.toString('latin1', at + 4, at + 8) === 'IDAT') idat.push(bytes.subarray(at + 8, at + 8 + length));
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(idat));
  const rgb = Buffer.alloc(width * height * 3);
  for (let y = 0; y < height; ++y) {
    const row = y * (width * 3 + 1);
    if (raw[row] !== 0) throw new Error('the renderer filtered its rows; this check reads unfiltered rows only');
    raw.copy(rgb, y * width * 3, row + 1, row + 1 + width * 3);
  }
  return { bytes, rgb, width, height };
}

// The page's canvas as top-down RGB rows.
async function canvasRgb(page, selector) {
  const base64 = await page.evaluate((selector) => {
    const canvas = document.querySelector(selector);
    const rgba = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let text = '';
    const chunk = [];
    for (let i = 0; i < rgba.length; i += 4) {
      chunk.push(rgba[i], rgba[i + 1], rgba[i + 2]);
      if (chunk.length >= 3 * 8192) {
        text += String.fromCharCode(...chunk);
        chunk.length = 0;
      }
    }
    return btoa(text + String.fromCharCode(...chunk));
  }, selector);
  return Buffer.from(base64, 'base64');
}

async function waitDone(page) {
  await page.waitForFunction(() => window.tintwalkPage && window.tintwalkPage.done, null, { timeout: 60000 });
}

async function savedPng(page, press) {
  const [download] = await Promise.all([page.waitForEvent('download'), press()]);
  return fs.readFileSync(await download.path());
}

function check(condition, what) {
  if (!condition) throw new Error(what);
}

function checkPixels(actual, expected, what) {
  if (actual.equals(expected.rgb)) return;
  let first = 0;
  while (first < actual.length && actual[first] === expected.rgb[first]) ++first;
  const cell = Math.floor(first / 3);
  throw new Error(`${what}: canvas differs from tintwalk-render at column ${cell % expected.width}, ` +
                  `row ${Math.floor(cell / expected.width)} (${actual.length} bytes against ${expected.rgb.length})`);
}

// A finished picture from its address: pixels and the saved file equal the
// renderer's. Sizes include an odd width and a single column.
const pictures = [
  { community: 'fel', seed: 7, size: '641x359', ticks: 60, save: 'keyboard' },
  { community: 'rock', seed: 3, size: '1x1500', ticks: 40, save: 'button' },
  { community: 'geo&vlekkensnel', seed: 4000000000, size: '255x97', ticks: 90, save: 'button' },
  { community: 'zwavelgrot', seed: 11, size: '320x200', ticks: 150, save: 'keyboard' },
  { community: 'amorfwit', seed: 1, size: '2x3', ticks: 5, save: 'button' },
];

const cases = [];
for (const picture of pictures) {
  cases.push([`${picture.community} ${picture.size} after ${picture.ticks} ticks`, async (page, base) => {
    const params = new URLSearchParams({ community: picture.community, seed: String(picture.seed),
                                         size: picture.size, ticks: String(picture.ticks) });
    await page.goto(`${base}/index.html?${params}`);
    await waitDone(page);
    const expected = render(picture.community, picture.seed, picture.size, picture.ticks);
    checkPixels(await canvasRgb(page, '#picture'), expected, 'pixels');
    const saved = await savedPng(page, picture.save === 'keyboard'
      ? () => page.keyboard.press('s') : () => page.click('#save'));
    check(saved.equals(expected.bytes), `saved PNG (${saved.length} bytes) differs from tintwalk-render's (${expected.bytes.length} bytes)`);
  }]);
}

cases.push(['live picture, paused by keyboard, reproduced from its address', async (page, base) => {
  await page.goto(`${base}/index.html?community=paarsebergen&seed=5&size=400x240`);
  await page.waitForFunction(() => window.tintwalkPage.done && window.tintwalkPage.picture().ticks >= 30);
  await page.keyboard.press(' ');
  const ticks = await page.evaluate(() => window.tintwalkPage.picture().ticks);
  const paused = await canvasRgb(page, '#picture');
  await page.waitForTimeout(100);
  check(await page.evaluate(() => window.tintwalkPage.picture().ticks) === ticks, 'the picture went on while paused');
  checkPixels(paused, render('paarsebergen', 5, '400x240', ticks), 'live pixels');
  const address = new URL(page.url());
  check(address.searchParams.get('community') === 'paarsebergen' && address.searchParams.get('seed') === '5' &&
        address.searchParams.get('size') === '400x240', `address ${address.search} lacks the parameters`);
  address.searchParams.set('ticks', String(ticks));
  await page.goto(address.href);
  await waitDone(page);
  check((await canvasRgb(page, '#picture')).equals(paused), 'the address did not reproduce the picture');
}]);

cases.push(['reduced motion shows the finished picture of one minute', async (page, base) => {
  await page.emulateMedia({ reducedMotion: 'reduce' });
  await page.goto(`${base}/index.html?community=somspaars&seed=8&size=120x90`);
  await waitDone(page);
  check(await page.evaluate(() => window.tintwalkPage.picture().ticks) === 4615, 'not one minute of ticks');
  checkPixels(await canvasRgb(page, '#picture'), render('somspaars', 8, '120x90', 4615), 'pixels');
}]);

cases.push(['clock choice fills the window, controls by keyboard', async (page, base) => {
  await page.goto(`${base}/index.html`);
  await page.waitForFunction(() => window.tintwalkPage.done && window.tintwalkPage.picture().ticks > 10);
  const size = await page.evaluate(() => [document.getElementById('picture').width, document.getElementById('picture').height,
                                           Math.round(innerWidth * devicePixelRatio), Math.round(innerHeight * devicePixelRatio)]);
  check(size[0] === size[2] && size[1] === size[3], `canvas ${size[0]}x${size[1]} does not fill the window ${size[2]}x${size[3]}`);
  await page.screenshot({ path: path.join(outDir, 'page.png') });
  // The controls step aside while the picture runs and come back on a key.
  await page.waitForSelector('body.idle', { timeout: 10000 });
  await page.keyboard.press('Shift');
  check(!(await page.evaluate(() => document.body.classList.contains('idle'))), 'controls stay hidden after a key');
  await page.keyboard.press('f');
  await page.waitForFunction(() => document.fullscreenElement !== null);
  await page.keyboard.press('f');
  await page.waitForFunction(() => document.fullscreenElement === null);
  // Choose a community and a seed from the keyboard alone.
  await page.keyboard.press('c');
  await page.keyboard.press('Escape');
  await page.focus('#seed');
  await page.keyboard.type('99');
  await page.keyboard.press('Tab');
  await page.selectOption('#community', 'somspaars');
  await page.waitForFunction(() => new URL(location.href).searchParams.get('community') === 'somspaars' &&
                                   new URL(location.href).searchParams.get('seed') === '99');
}]);

cases.push(['one cell per device pixel at a device scale of 2', async (page, base) => {
  const session = await page.context().newCDPSession(page);
  await session.send('Emulation.setDeviceMetricsOverride', { width: 641, height: 361, deviceScaleFactor: 2, mobile: false });
  await page.goto(`${base}/index.html?community=rock&seed=2&ticks=3`);
  await waitDone(page);
  const shape = await page.evaluate(() => {
    const canvas = document.getElementById('picture');
    const box = canvas.getBoundingClientRect();
    return [canvas.width, canvas.height, box.width, box.height];
  });
  check(shape.join() === '1282,722,641,361', `canvas ${shape}`);
}]);

cases.push(['gallery of ten distinct live canvases', async (page, base) => {
  await page.goto(`${base}/gallery.html`);
  await page.waitForFunction(() => window.tintwalkGallery && window.tintwalkGallery.frames > 20);
  const count = await page.locator('#cards canvas').count();
  check(count === 10, `${count} canvases`);
  const names = await page.locator('#cards .name').allTextContents();
  check(new Set(names).size === 10, `names ${names}`);
  const links = await page.locator('#cards a').evaluateAll((all) => all.map((a) => new URL(a.href).searchParams.get('community')));
  check(links.join() === names.join(), 'links do not open their communities');
  const snapshot = async () => {
    const list = [];
    for (let i = 1; i <= 10; ++i) list.push((await canvasRgb(page, `#cards li:nth-child(${i}) canvas`)).toString('base64'));
    return list;
  };
  const before = await snapshot();
  check(new Set(before).size === 10, 'the ten canvases are not distinct');
  await page.waitForTimeout(300);
  const after = await snapshot();
  check(after.every((picture, i) => picture !== before[i]), 'a canvas is not live');
  await page.screenshot({ path: path.join(outDir, 'gallery.png'), fullPage: true });
}]);

cases.push(['bad parameters fall back with a notice', async (page, base) => {
  await page.goto(`${base}/index.html?community=nosuch&seed=-4&size=12x&ticks=many`);
  await waitDone(page);
  const notices = await page.evaluate(() => window.tintwalkPage.notices);
  check(notices.length === 4, `notices: ${JSON.stringify(notices)}`);
  check(await page.isVisible('#notice'), 'notice not shown');
  check(await page.evaluate(() => window.tintwalkPage.picture().ticks >= 0 && document.getElementById('picture').width > 1),
        'no picture');
}]);

cases.push(['oversized picture gives a message and a smaller picture', async (page, base) => {
  await page.goto(`${base}/index.html?community=rock&seed=1&size=32768x32768&ticks=1`);
  await waitDone(page);
  const notices = await page.evaluate(() => window.tintwalkPage.notices);
  check(notices.length === 1 && /too large/.test(notices[0]), `notices: ${JSON.stringify(notices)}`);
  const width = await page.evaluate(() => document.getElementById('picture').width);
  check(width > 1 && width < 32768, `canvas width ${width}`);
  check(new URL(page.url()).searchParams.get('size') === `${width}x${width}`, 'address does not name the smaller size');
}]);

async function main() {
  const { base, stop } = await serve(siteDir);
  const context = await launch(path.join(scratch, 'profile'));
  let passed = 0;
  let failed = 0;
  try {
    for (const [name, run] of cases) {
      const page = await context.newPage();
      // A shared machine can be slow; nothing here is a timing check.
      page.setDefaultTimeout(60000);
      const errors = [];
      page.on('console', (message) => { if (message.type() === 'error') errors.push(`${message.text()} ${message.location().url}`); });
      page.on('pageerror', (error) => errors.push(String(error)));
      page.on('response', (response) => { if (response.status() >= 400) errors.push(`${response.status()} ${response.url()}`); });
      try {
        await run(page, base);
        check(errors.length === 0, `console errors: ${errors.join(' | ')}`);
        ++passed;
        console.log(`ok    ${name}`);
      } catch (error) {
        ++failed;
        console.log(`FAIL  ${name}: ${error.message.split('\n')[0]}`);
      }
      await page.close();
    }
  } finally {
    await context.close();
    stop();
    fs.rmSync(scratch, { recursive: true, force: true });
  }
  console.log(`web: ${passed} passed, ${failed} failed`);
  process.exit(failed === 0 ? 0 : 1);
}

main().catch((error) => {
  console.log(`FAIL  ${error.message}`);
  console.log('web: 0 passed, 1 failed');
  process.exit(1);
});
