// The built site in headless Chromium, checked against tintwalk-render; a
// console error fails a case. OUTPUT-DIR gets screenshots to look at.
//   node tests/web/site_test.js SITE-DIR TINTWALK-RENDER OUTPUT-DIR
'use strict';

const assert = require('assert');
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const { serve, launch } = require('../../web/tools/browser.js');

const [siteDir, renderer, outDir] = process.argv.slice(2).map((arg) => path.resolve(arg));
fs.mkdirSync(outDir, { recursive: true });
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'tintwalk-web-'));

function render(community, seed, size, ticks) {
  return execFileSync(renderer, ['--community', community, '--seed', String(seed),
    '--size', size, '--ticks', String(ticks), '--output', '-', '--quiet'], { maxBuffer: 1 << 26 });
}

// Whether the page's canvases, together, show the picture of a PNG file from
// the renderer pixel for pixel (its rows carry no filters).
async function shows(page, png) {
  const idat = [];
  for (let at = 8, length; at < png.length; at += 12 + length) {
    length = png.readUInt32BE(at);
    if (png.toString('latin1', at + 4, at + 8) === 'IDAT') idat.push(png.subarray(at + 8, at + 8 + length));
  }
  const [width, height] = [png.readUInt32BE(16), png.readUInt32BE(20)];
  const rows = zlib.inflateSync(Buffer.concat(idat));
  const tiles = await page.$$eval('#tiles canvas', (all) => all.map((canvas) => {
    const rgba = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let text = '';
    for (let at = 0; at < rgba.length; at += 32768)
      text += String.fromCharCode(...rgba.subarray(at, at + 32768));
    const { x, y } = canvas.dataset;
    return { x: +x, y: +y, width: canvas.width, height: canvas.height, rgba: btoa(text) };
  }));
  let cells = 0;
  for (const tile of tiles) {
    const rgba = Buffer.from(tile.rgba, 'base64');
    for (let y = 0; y < tile.height; ++y) {
      for (let x = 0; x < tile.width; ++x) {
        const want = (tile.y + y) * (1 + 3 * width) + 1 + 3 * (tile.x + x);
        const have = 4 * (y * tile.width + x);
        if (!rows.subarray(want, want + 3).equals(rgba.subarray(have, have + 3))) return false;
      }
    }
    cells += tile.width * tile.height;
  }
  return cells === width * height;
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
  // The largest side the renderer takes, on two canvases side by side.
  await page.goto(`${base}/index.html?community=fel&seed=2&size=32768x1&ticks=3`);
  await waitDone(page);
  assert((await notices(page)).length === 0, `notices: ${await notices(page)}`);
  assert(await shows(page, render('fel', 2, '32768x1', 3)), 'not the renderer\'s 32768 x 1 picture');
  // The module refuses what the renderer refuses, though the page never asks it to.
  const bad = [[-1, 9, 9], [10, 9, 9], [0, 0, 9], [0, 9, -3], [0, 32769, 1], [0, 1, 32769]];
  const started = await page.evaluate((bad) => bad.map(([row, width, height]) => {
    const picture = window.tintwalkPage.picture();
    return picture.start(row, 1, width, height) !== -1 || picture.module._tw_rgba() !== 0;
  }), bad);
  assert(!started.includes(true), `started: ${started}`);
}]);

cases.push(['one frame loop, however often restarted', async (page, base) => {
  // Counts the calls of animation-frame callbacks the page asked for.
  await page.addInitScript(() => {
    const request = window.requestAnimationFrame.bind(window);
    window.frameCalls = 0;
    window.frameCallsIn = async (frames) => {
      const before = window.frameCalls;
      for (let i = 0; i < frames; ++i) await new Promise((resolve) => request(resolve));
      return window.frameCalls - before;
    };
    window.requestAnimationFrame = (callback) => request((now) => { ++window.frameCalls; callback(now); });
  });
  await page.goto(`${base}/index.html?community=rock&seed=4&size=64x48`);
  await waitDone(page);
  await page.keyboard.press('r');
  await waitDone(page);
  const once = await page.evaluate(() => window.frameCallsIn(20));
  await page.evaluate(() => { for (let i = 0; i < 200; ++i) document.getElementById('restart').click(); });
  await waitDone(page);
  const often = await page.evaluate(() => window.frameCallsIn(20));
  assert(once >= 19 && once <= 21 && Math.abs(often - once) <= 1, `${once} and ${often} calls in 20 frames`);
}]);

cases.push(['installable; offline after one visit', async (page, base) => {
  await page.goto(`${base}/index.html?community=zoetkoraal&seed=3&size=90x60&ticks=25`);
  await waitDone(page);
  const manifest = await page.evaluate(async () => {
    const link = document.querySelector('link[rel=manifest]');
    const body = await (await fetch(link.href)).json();
    const sizes = await Promise.all(body.icons.map(async (icon) => {
      const bitmap = await createImageBitmap(await (await fetch(icon.src)).blob());
      return `${icon.sizes}=${bitmap.width}x${bitmap.height}`;
    }));
    return { ...body, sizes };
  });
  assert(manifest.name === 'Tintwalk' && manifest.start_url && manifest.background_color &&
    ['standalone', 'fullscreen'].includes(manifest.display), JSON.stringify(manifest));
  assert(manifest.sizes.join() === '192x192=192x192,512x512=512x512', `icons ${manifest.sizes}`);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  await page.context().setOffline(true);
  try {
    await page.reload();
    await waitDone(page);
    assert(await shows(page, render('zoetkoraal', 3, '90x60', 25)), 'offline, not the picture');
  } finally {
    await page.context().setOffline(false);
  }
}]);

cases.push(['saver mode: wake lock held, taken again, refused quietly; ends on travel of 5, a key',
  async (page, base) => {
  // Keeps the locks the page is given; refuses once told to.
  await page.addInitScript(() => {
    Object.assign(window, { locks: [], asked: 0, refuse: false });
    const request = navigator.wakeLock.request.bind(navigator.wakeLock);
    navigator.wakeLock.request = async (type) => {
      ++window.asked;
      if (window.refuse) throw new DOMException('refused', 'NotAllowedError');
      window.locks.push(await request(type));
      return window.locks.at(-1);
    };
  });
  await page.goto(`${base}/index.html?community=fel&seed=5&size=64x48&saver=1`);
  await waitDone(page);
  const saving = () => page.evaluate(() => document.body.classList.contains('saver'));
  assert(await saving(), 'no saver mode from the address');
  await page.waitForFunction(() => window.locks.length === 1);
  // Without a gesture the browser refuses full screen.
  await page.waitForFunction(() => /Full screen/.test(document.getElementById('hint').textContent));
  // The lock goes while the page is hidden; shown again, the page asks again.
  await page.evaluate(() => { window.refuse = true; return window.locks[0].release(); });
  await page.evaluate(() => document.dispatchEvent(new Event('visibilitychange')));
  await page.waitForFunction(() => window.asked === 2 &&
    /awake/.test(document.getElementById('hint').textContent));
  for (const [x, y, still] of [[300, 200, true], [304, 200, true], [301, 202, true], [302, 203, false]]) {
    await page.mouse.move(x, y);
    assert(await saving() === still, `at ${x}, ${y} from 300, 200`);
  }
  assert(page.url().indexOf('saver') < 0, 'the address still asks for saver mode');
  await page.click('#saver');
  await page.waitForFunction(() => document.fullscreenElement !== null);
  await page.keyboard.press('p');
  await page.waitForFunction(() => document.fullscreenElement === null);
  assert(!(await saving()) && await page.textContent('#pause') === 'Pause',
    'the key did not end saver mode alone');
}]);

async function main() {
  const { base, stop } = await serve(siteDir);
  process.on('exit', () => { stop(); fs.rmSync(scratch, { recursive: true, force: true }); });
  const context = await launch(path.join(scratch, 'profile'));
  let passed = 0;
  // A case that fails is run once more on a fresh page, as the browser on a
  // busy machine now and then loses an event; both failures are shown.
  for (const [name, run] of cases) {
    for (let attempt = 1; attempt <= 2; ++attempt) {
      const page = await context.newPage();
      // A shared machine can be slow; nothing here is a timing check.
      page.setDefaultTimeout(60000);
      const errors = [];
      page.on('console', (line) => { if (line.type() === 'error') errors.push(line.text()); });
      page.on('pageerror', (error) => errors.push(String(error)));
      page.on('response', (reply) => { if (reply.status() >= 400) errors.push(reply.url()); });
      let failure = null;
      try {
        await run(page, base);
        assert(errors.length === 0, `console errors: ${errors.join(' | ')}`);
      } catch (error) {
        // The line of this file where the case stopped.
        const where = (error.stack.match(/site_test\.js:\d+/) || ['?'])[0];
        failure = `${error.message.split('\n')[0]} (${where})`;
      }
      await page.close();
      if (failure === null) {
        ++passed;
        console.log(`ok    ${name}`);
        break;
      }
      console.log(`${attempt === 1 ? 'again' : 'FAIL '} ${name}: ${failure}`);
    }
  }
  await context.close();
  console.log(`web: ${passed} passed, ${cases.length - passed} failed`);
  process.exit(passed === cases.length ? 0 : 1);
}

main().catch((error) => {
  console.log(`FAIL  ${error.message}\nweb: 0 passed, 1 failed`);
  process.exit(1);
});
