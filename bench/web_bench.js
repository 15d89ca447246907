// Speed of the web page in headless Chromium, against the same work native.
//   node bench/web_bench.js SITE-DIR TINTWALK_WEB_STEPS [RUNS]
// 1. Bot steps per second: bench.html and the native tintwalk_web_steps
//    (the page's C++ built natively) run the same picture, alternately,
//    RUNS times each; prints the medians and their ratio, per second of
//    wall time and per second of processor time (the browser's: all its
//    processes, from /proc), which a busy machine disturbs less.
// 2. The live page at 1920x1080 for 10 seconds: ticks per second against
//    the clock's 76.9, ticks dropped, and the browser's CPU time per second
//    (all its processes together; 1.0 is one core).
'use strict';

const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { serve, launch } = require(path.join(__dirname, '../web/tools/browser.js'));

const [siteDir, native, runsText] = process.argv.slice(2);
if (!native) {
  console.error('usage: node bench/web_bench.js SITE-DIR TINTWALK_WEB_STEPS [RUNS]');
  process.exit(2);
}
const runs = Number(runsText || 5);
const work = { community: 'fel', row: 5, seed: 7, width: 1920, height: 1080, ticks: 1000 };
const median = (list) => [...list].sort((a, b) => a - b)[Math.floor(list.length / 2)];

// CPU seconds of this process's descendants (the browser and its helpers).
function descendantCpuSeconds() {
  const children = new Map();
  const cpu = new Map();
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      const parent = Number(fields[1]);
      if (!children.has(parent)) children.set(parent, []);
      children.get(parent).push(Number(entry));
      cpu.set(Number(entry), Number(fields[11]) + Number(fields[12]));
    } catch (error) {
      // The process ended meanwhile.
    }
  }
  let ticks = 0;
  const stack = [...(children.get(process.pid) || [])];
  while (stack.length) {
    const pid = stack.pop();
    ticks += cpu.get(pid) || 0;
    stack.push(...(children.get(pid) || []));
  }
  return ticks / 100; // USER_HZ
}

async function main() {
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'tintwalk-web-bench-'));
  const { base, stop } = await serve(siteDir);
  const context = await launch(path.join(scratch, 'profile'), { width: 1920, height: 1080 });
  try {
    const page = await context.newPage();
    const web = [];
    const webCpu = [];
    const nativeRates = [];
    const nativeCpu = [];
    const query = new URLSearchParams({ community: work.community, seed: String(work.seed),
                                        size: `${work.width}x${work.height}`, ticks: String(work.ticks) });
    const million = (rate) => `${(rate / 1e6).toFixed(1)} M`;
    for (let run = 0; run < runs; ++run) {
      await page.goto(`${base}/bench.html?wait=1`);
      await page.waitForFunction(() => window.tintwalkBenchRun);
      const cpuBefore = descendantCpuSeconds();
      const result = await page.evaluate((query) => window.tintwalkBenchRun(query), String(query));
      const cpu = descendantCpuSeconds() - cpuBefore;
      if (result.error) throw new Error(result.error);
      web.push(result.stepsPerSecond);
      webCpu.push(result.steps / cpu);
      const output = execFileSync(native, [work.row, work.seed, work.width, work.height, work.ticks].map(String),
                                  { stdio: ['ignore', 'pipe', 'ignore'] });
      // The simulation's progress lines come first; the rates are the last line.
      const rates = String(output).trim().split('\n').pop().split(', ').map(parseFloat);
      nativeRates.push(rates[0]);
      nativeCpu.push(rates[1]);
      console.log(`run ${run + 1}: page ${million(web[run])} steps/s (${million(webCpu[run])} per processor second), ` +
                  `native ${million(nativeRates[run])} (${million(nativeCpu[run])})`);
    }
    console.log(`steps: ${work.community} ${work.width}x${work.height}, ${work.ticks} ticks; medians:`);
    for (const [what, page, native] of [['wall time', web, nativeRates], ['processor time', webCpu, nativeCpu]]) {
      console.log(`  per second of ${what}: page ${million(median(page))}, native ${million(median(native))}, ` +
                  `page takes ${(median(native) / median(page)).toFixed(2)} x native time`);
    }

    const params = new URLSearchParams({ community: work.community, seed: String(work.seed), size: '1920x1080' });
    await page.goto(`${base}/index.html?${params}`);
    await page.waitForFunction(() => window.tintwalkPage && window.tintwalkPage.done);
    await page.waitForTimeout(1000);
    const sample = () => page.evaluate(() => ({ ticks: window.tintwalkPage.picture().ticks,
                                                dropped: window.tintwalkPage.dropped,
                                                frames: window.tintwalkPage.frames, now: performance.now() }));
    const cpuBefore = descendantCpuSeconds();
    const before = await sample();
    await page.waitForTimeout(10000);
    const after = await sample();
    const cpu = descendantCpuSeconds() - cpuBefore;
    const seconds = (after.now - before.now) / 1000;
    console.log(`live 1920x1080: ${((after.ticks - before.ticks) / seconds).toFixed(1)} ticks/s ` +
                `(the clock's ${(1000 / 13).toFixed(1)}), ${after.dropped - before.dropped} dropped, ` +
                `${((after.frames - before.frames) / seconds).toFixed(1)} frames/s, ` +
                `browser CPU ${(cpu / seconds).toFixed(2)} of a core`);
  } finally {
    await context.close();
    stop();
    fs.rmSync(scratch, { recursive: true, force: true });
  }
}

main().catch((error) => {
  console.error(`web_bench: ${error.message}`);
  process.exit(1);
});
