// Bot steps per second of the page's own work (passes and canvas painting)
// for one picture. The address names the picture and the run starts at
// once; with ?wait=1 it waits for window.tintwalkBenchRun(address query),
// so that a script can measure around it. The result is shown and left in
// window.tintwalkBench.
'use strict';

(() => {
  const result = document.getElementById('result');

  async function run(query) {
    try {
      const params = new URLSearchParams(query);
      const picture = await Tintwalk.createPicture();
      const row = Tintwalk.findCommunity(picture, params.get('community') || 'fel');
      const seed = Tintwalk.parseDecimal(params.get('seed') || '7', 0xffffffff);
      const size = Tintwalk.parseSize(params.get('size') || '1920x1080');
      const ticks = Tintwalk.parseDecimal(params.get('ticks') || '300', 1000000);
      if (row < 0 || seed === null || size === null || ticks === null) throw new Error('bad parameters');
      if (picture.start(row, seed, size.width, size.height) !== 1) throw new Error('not enough memory');
      const begin = performance.now();
      picture.tick(ticks);
      const seconds = (performance.now() - begin) / 1000;
      const steps = picture.stepsPerTick() * ticks;
      picture.stop();
      window.tintwalkBench = { steps, seconds, stepsPerSecond: steps / seconds };
      result.textContent = `${(steps / seconds / 1e6).toFixed(1)} million bot steps per second ` +
        `(${ticks} ticks at ${size.width} x ${size.height} in ${seconds.toFixed(3)} s)`;
    } catch (error) {
      window.tintwalkBench = { error: error.message };
      result.textContent = `The benchmark could not run: ${error.message}`;
    }
    return window.tintwalkBench;
  }

  if (new URLSearchParams(location.search).get('wait') === '1') {
    window.tintwalkBenchRun = run;
    result.textContent = 'Waiting to be started.';
  } else {
    run(location.search);
  }
})();
