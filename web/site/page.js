// The full-size picture: one habitat cell per device pixel, growing at the
// saver's pace, with controls that step aside while it runs.
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);
  const canvas = $('picture');
  const tiles = new TintwalkTiles.Tiles(canvas);
  // A long render runs in slices of about this many bot steps, between
  // which the page shows its progress and stays responsive.
  const kStepsPerSlice = 4000000;
  // Ticks that fell due while the page was busy or hidden are dropped, as
  // the saver's timer drops them: a frame never catches up more than this.
  const kMaxTicksPerFrame = 4;

  // What the tests and the benchmark read.
  const page = { ready: false, done: false, notices: [], dropped: 0, frames: 0 };
  window.tintwalkPage = page;

  let picture = null;
  let communities = [];
  // What the address or the controls ask for; -1 and null leave the choice
  // to the clock, a null size fills the window, null ticks run live.
  const wanted = { row: -1, seed: null, size: null, ticks: null, saver: false };
  let running = false;
  // The one animation frame asked for, if any: a loop never runs twice.
  let frameRequest = 0;
  let epoch = 0;
  let doneTicks = 0;
  let generation = 0;

  function notify(text) {
    page.notices.push(text);
    $('notice').textContent = page.notices.join(' ');
    $('notice').hidden = false;
  }

  function clearNotices() {
    page.notices = [];
    $('notice').hidden = true;
  }

  function readAddress() {
    const params = new URLSearchParams(location.search);
    const community = params.get('community');
    if (community !== null && community !== 'clock') {
      wanted.row = Tintwalk.findCommunity(picture, community);
      if (wanted.row < 0)
        notify(`There is no community "${community}": the clock chooses one.`);
    }
    const seed = params.get('seed');
    if (seed !== null) {
      wanted.seed = Tintwalk.parseDecimal(seed, 0xffffffff);
      if (wanted.seed === null)
        notify(`The seed "${seed}" is not a whole number from 0 to 4294967295: the clock's seed is used.`);
    }
    const size = params.get('size');
    if (size !== null) {
      wanted.size = Tintwalk.parseSize(size);
      if (wanted.size === null)
        notify(`The size "${size}" is not WIDTHxHEIGHT with sides from 1 to ${Tintwalk.kMaxSide}: the picture fills the window.`);
    }
    const ticks = params.get('ticks');
    if (ticks !== null) {
      wanted.ticks = Tintwalk.parseDecimal(ticks, 1000000);
      if (wanted.ticks === null)
        notify(`The tick count "${ticks}" is not a whole number from 0 to 1000000: the picture runs live.`);
    }
    wanted.saver = params.get('saver') === '1';
  }

  function windowSize() {
    const scale = window.devicePixelRatio || 1;
    const side = (css) => Math.min(Tintwalk.kMaxSide, Math.max(1, Math.round(css * scale)));
    return { width: side(window.innerWidth), height: side(window.innerHeight) };
  }

  // Starts the picture and its canvases at this size, one cell per device
  // pixel; false when the device cannot hold either.
  function tryStart(row, seed, width, height) {
    if (picture.start(row, seed, width, height) === 1 &&
        tiles.lay(width, height, window.devicePixelRatio || 1)) {
      try {
        tiles.show(picture.imageData());
        return true;
      } catch (error) {
        // The canvas or its pixels could not be had: try smaller.
      }
    }
    picture.stop();
    tiles.clear();
    return false;
  }

  function updateAddress() {
    if (picture.row < 0) return;
    const params = new URLSearchParams();
    params.set('community', communities[picture.row].name);
    params.set('seed', String(picture.seed));
    if (wanted.size) params.set('size', `${picture.width}x${picture.height}`);
    if (wanted.ticks !== null) params.set('ticks', String(wanted.ticks));
    if (wanted.saver) params.set('saver', '1');
    history.replaceState(null, '', `${location.pathname}?${params}`);
  }

  function showStatus() {
    const name = communities[picture.row].name;
    let text = `${name} · seed ${picture.seed} · ${picture.width} x ${picture.height} · tick ${picture.ticks}`;
    if (!running) text += ' · paused';
    $('status').textContent = text;
    $('pause').textContent = running ? 'Pause' : 'Run';
  }

  // Starts the picture anew. A start that a newer one overtakes while it
  // waits gives up, so that only one start-up holds memory at a time.
  async function start() {
    const mine = ++generation;
    stopFrames();
    page.done = false;
    const choice = Tintwalk.clockChoice(picture);
    const row = wanted.row >= 0 ? wanted.row : choice.row;
    const seed = wanted.seed !== null ? wanted.seed : choice.seed;
    const asked = wanted.size || windowSize();
    let { width, height } = asked;
    let memory = picture.memoryBytes();
    while (!tryStart(row, seed, width, height)) {
      if (width === 1 && height === 1) {
        notify('This device has no memory to spare for a picture.');
        return;
      }
      // A fresh module instance gives back the memory a failed attempt grew.
      if (picture.memoryBytes() > memory) {
        const fresh = await Tintwalk.createPicture();
        if (mine !== generation) return;
        picture = fresh;
        memory = picture.memoryBytes();
      }
      width = Math.max(1, Math.floor(width / 2));
      height = Math.max(1, Math.floor(height / 2));
    }
    if (width !== asked.width || height !== asked.height)
      notify(`A ${asked.width} x ${asked.height} picture is too large for this device: showing ${width} x ${height} instead.`);
    canvas.setAttribute('aria-label', `Tintwalk picture of ${communities[row].name}, seed ${seed}`);
    updateAddress();

    const reduced = window.matchMedia('(prefers-reduced-motion: reduce)').matches;
    const target = wanted.ticks !== null ? wanted.ticks : reduced ? Tintwalk.kTicksPerMinute : null;
    if (target === null) {
      run();
    } else {
      await paint(target, mine);
      if (mine !== generation) return;
      if (reduced && wanted.ticks === null) {
        $('progress').textContent = 'The finished picture of one minute (reduced motion): Run animates it.';
        $('progress').hidden = false;
      }
    }
    showStatus();
    page.done = true;
  }

  // Runs `target` ticks at once, in slices, showing the progress.
  async function paint(target, mine) {
    const slice = Math.max(1, Math.floor(kStepsPerSlice / Math.max(1, picture.stepsPerTick())));
    const progress = $('progress');
    while (picture.ticks < target) {
      picture.tick(Math.min(slice, target - picture.ticks));
      if (picture.ticks < target) {
        progress.hidden = false;
        progress.textContent = `Painting tick ${picture.ticks} of ${target}…`;
        await new Promise((resolve) => setTimeout(resolve, 0));
        if (mine !== generation) return;
      }
    }
    progress.hidden = true;
    tiles.show(picture.imageData());
  }

  function run() {
    stopFrames();
    running = true;
    epoch = performance.now();
    doneTicks = 0;
    $('progress').hidden = true;
    showStatus();
    frameRequest = requestAnimationFrame(frame);
    wake();
  }

  function stopFrames() {
    running = false;
    cancelAnimationFrame(frameRequest);
    frameRequest = 0;
  }

  // The frame clock: ticks fall due every 13 ms from the start, whatever
  // the display's refresh rate; each animation frame runs the ticks due
  // since the last one and shows the result. When the work falls behind,
  // the ticks it could not run are dropped instead of queued.
  function frame(now) {
    frameRequest = requestAnimationFrame(frame);
    const due = Math.floor((now - epoch) / Tintwalk.kFramePeriodMs);
    let count = due - doneTicks;
    if (count <= 0) return;
    doneTicks = due;
    if (count > kMaxTicksPerFrame) {
      page.dropped += count - kMaxTicksPerFrame;
      count = kMaxTicksPerFrame;
    }
    const begin = performance.now();
    for (let i = 0; i < count; ++i) {
      picture.tick(1);
      // Never spend longer than the ticks stand for.
      if (performance.now() - begin >= count * Tintwalk.kFramePeriodMs) {
        page.dropped += count - 1 - i;
        break;
      }
    }
    tiles.show(picture.imageData());
    ++page.frames;
    if (page.frames % 16 === 0) showStatus();
  }

  function togglePause() {
    if (!picture || !page.done) return;
    if (running) {
      stopFrames();
      tiles.show(picture.imageData());
      showStatus();
      wake();
    } else {
      run();
    }
  }

  function restartFromControls() {
    clearNotices();
    const name = $('community').value;
    wanted.row = name === 'clock' ? -1 : Tintwalk.findCommunity(picture, name);
    const seedText = $('seed').value.trim();
    wanted.seed = null;
    if (seedText !== '') {
      wanted.seed = Tintwalk.parseDecimal(seedText, 0xffffffff);
      if (wanted.seed === null)
        notify(`The seed "${seedText}" is not a whole number from 0 to 4294967295: the clock's seed is used.`);
    }
    wanted.ticks = null;
    start();
  }

  function toggleFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (document.documentElement.requestFullscreen) {
      document.documentElement.requestFullscreen().catch(() => notify('Full screen is not available here.'));
    }
  }

  function saverMode() {
    if (!picture || TintwalkSaver.active) return;
    wanted.saver = true;
    updateAddress();
    TintwalkSaver.start((anchor, now) => Tintwalk.pointerTravelWakes(picture, anchor, now), () => {
      wanted.saver = false;
      updateAddress();
      wake();
    });
  }

  function save() {
    if (!picture || !page.done) return;
    const name = communities[picture.row].name.replace(/[^A-Za-z0-9]+/g, '-');
    const link = document.createElement('a');
    link.href = URL.createObjectURL(picture.png());
    link.download = `tintwalk-${name}-${picture.seed}-${picture.width}x${picture.height}-${picture.ticks}.png`;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }

  // The controls show on any input and hide after a while of none, unless
  // the picture is paused or a control has the focus.
  let idleTimer = 0;
  function wake() {
    document.body.classList.remove('idle');
    clearTimeout(idleTimer);
    idleTimer = setTimeout(() => {
      if (running && !$('controls').contains(document.activeElement))
        document.body.classList.add('idle');
    }, 2500);
  }

  function onKey(event) {
    wake();
    if (event.ctrlKey || event.metaKey || event.altKey) return;
    const target = event.target;
    if (target.matches('input, select')) {
      if (event.key === 'Escape') target.blur();
      return;
    }
    // Buttons and links act on their own keys.
    if (target.matches('button, a') && (event.key === ' ' || event.key === 'Enter')) return;
    switch (event.key.toLowerCase()) {
      case ' ':
      case 'p': togglePause(); break;
      case 'r': restartFromControls(); break;
      case 'f': toggleFullScreen(); break;
      case 's': save(); break;
      case 'v': saverMode(); break;
      case 'c': $('community').focus(); break;
      case 'g': location.href = 'gallery.html'; break;
      default: return;
    }
    event.preventDefault();
  }

  let resizeTimer = 0;
  function onResize() {
    if (wanted.size) return;
    clearTimeout(resizeTimer);
    resizeTimer = setTimeout(() => {
      const size = windowSize();
      if (picture && (size.width !== picture.width || size.height !== picture.height)) start();
    }, 300);
  }

  async function main() {
    picture = await Tintwalk.createPicture();
    communities = Tintwalk.communities(picture);
    const select = $('community');
    for (const entry of communities) select.add(new Option(entry.name, entry.name));
    readAddress();
    select.value = wanted.row >= 0 ? communities[wanted.row].name : 'clock';
    $('seed').value = wanted.seed !== null ? String(wanted.seed) : '';
    select.addEventListener('change', restartFromControls);
    $('seed').addEventListener('change', restartFromControls);
    $('restart').addEventListener('click', restartFromControls);
    $('pause').addEventListener('click', togglePause);
    $('fullscreen').addEventListener('click', toggleFullScreen);
    $('save').addEventListener('click', save);
    $('saver').addEventListener('click', saverMode);
    document.addEventListener('keydown', onKey);
    for (const type of ['pointermove', 'pointerdown', 'focusin']) document.addEventListener(type, wake);
    window.addEventListener('resize', onResize);
    page.ready = true;
    page.picture = () => picture;
    if (wanted.saver) saverMode();
    await start();
  }

  main().catch((error) => notify(`Tintwalk could not start: ${error.message}`));
})();
