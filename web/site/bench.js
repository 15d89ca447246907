// Bot steps per second of the page's own work (passes and canvas painting)
// for one picture; the result is shown and left in window.tintwalkBench.
'use strict';

(async () => {
  const result = document.getElementById('result');
  try {
    const params = new URLSearchParams(location.search);
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
    const stepsPerSecond = (picture.stepsPerTick() * ticks) / seconds;
    window.tintwalkBench = { stepsPerSecond, seconds };
    result.textContent = `${(stepsPerSecond / 1e6).toFixed(1)} million bot steps per second ` +
      `(${ticks} ticks at ${size.width} x ${size.height} in ${seconds.toFixed(3)} s)`;
  } catch (error) {
    window.tintwalkBench = { error: error.message };
    result.textContent = `The benchmark could not run: ${error.message}`;
  }
})();
