// All ten communities side by side, each live in a small canvas of its
// own, on one frame clock, with a link that opens it full size.
'use strict';

(async () => {
  const kWidth = 384;
  const kHeight = 216;
  const gallery = { ready: false, frames: 0 };
  window.tintwalkGallery = gallery;

  const cards = [];
  try {
    const first = await Tintwalk.createPicture();
    const communities = Tintwalk.communities(first);
    // One seed for all: the clock's, as the full-size page would take it.
    const { seed } = Tintwalk.clockChoice(first);
    const list = document.getElementById('cards');
    for (const entry of communities) {
      const picture = entry.row === 0 ? first : await Tintwalk.createPicture();
      if (picture.start(entry.row, seed, kWidth, kHeight) !== 1) throw new Error('not enough memory');
      const item = document.createElement('li');
      item.className = 'card';
      const link = document.createElement('a');
      const params = new URLSearchParams({ community: entry.name, seed: String(seed) });
      link.href = `index.html?${params}`;
      const canvas = document.createElement('canvas');
      canvas.width = kWidth;
      canvas.height = kHeight;
      canvas.setAttribute('role', 'img');
      canvas.setAttribute('aria-label', `${entry.name}, live`);
      const name = document.createElement('div');
      name.className = 'name';
      name.textContent = entry.name;
      const colour = document.createElement('div');
      colour.className = 'colour';
      const swatch = document.createElement('span');
      swatch.className = 'swatch';
      swatch.style.background = entry.background;
      colour.append(swatch, `background ${entry.background}`);
      link.append(canvas, name, colour);
      item.append(link);
      list.append(item);
      const context = canvas.getContext('2d', { alpha: false });
      context.putImageData(picture.imageData(), 0, 0);
      cards.push({ picture, context });
    }
  } catch (error) {
    const notice = document.getElementById('notice');
    notice.textContent = `The gallery could not start: ${error.message}`;
    notice.hidden = false;
    return;
  }

  // With reduced motion each shows its finished picture of one minute.
  if (window.matchMedia('(prefers-reduced-motion: reduce)').matches) {
    for (const card of cards) {
      card.picture.tick(Tintwalk.kTicksPerMinute);
      card.context.putImageData(card.picture.imageData(), 0, 0);
      await new Promise((resolve) => setTimeout(resolve, 0));
    }
    gallery.ready = true;
    return;
  }

  // The saver's clock for all ten: ticks due every 13 ms, late ones dropped.
  const epoch = performance.now();
  let done = 0;
  function frame(now) {
    requestAnimationFrame(frame);
    const due = Math.floor((now - epoch) / Tintwalk.kFramePeriodMs);
    const count = Math.min(4, due - done);
    if (count <= 0) return;
    done = due;
    for (const card of cards) {
      card.picture.tick(count);
      card.context.putImageData(card.picture.imageData(), 0, 0);
    }
    ++gallery.frames;
  }
  requestAnimationFrame(frame);
  gallery.ready = true;
})();
