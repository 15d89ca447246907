// Saver mode: the page as a screen saver. It goes full screen, keeps the
// screen awake with a wake lock (taken again whenever the page is shown
// again), hides the pointer, and ends as the saver does: on a key, a button,
// or pointer travel beyond the saver's tolerance. Where the browser refuses
// full screen or the wake lock, a quiet line says so and the picture goes on.
'use strict';

const TintwalkSaver = (() => {
  let active = false;
  let lock = null;
  let anchor = null;
  let judge = null;
  let ended = null;
  let hintTimer = 0;

  // A line at the foot of the screen that fades by itself.
  function quietly(text) {
    const hint = document.getElementById('hint');
    hint.textContent = hint.hidden ? text : `${hint.textContent} ${text}`;
    hint.hidden = false;
    clearTimeout(hintTimer);
    hintTimer = setTimeout(() => { hint.hidden = true; }, 8000);
  }

  async function keepAwake() {
    if (!('wakeLock' in navigator)) {
      quietly('This browser cannot keep the screen awake.');
      return;
    }
    try {
      const sentinel = await navigator.wakeLock.request('screen');
      if (!active) {
        sentinel.release();
        return;
      }
      lock = sentinel;
      // The browser lets go of it when the page is hidden.
      sentinel.addEventListener('release', () => { if (lock === sentinel) lock = null; });
    } catch (error) {
      quietly('The browser does not keep the screen awake here.');
    }
  }

  function onVisible() {
    if (active && !lock && document.visibilityState === 'visible') keepAwake();
  }

  function onInput(event) {
    if (event.type === 'pointermove') {
      const now = { x: Math.round(event.screenX), y: Math.round(event.screenY) };
      if (!anchor) anchor = now;
      if (!judge(anchor, now)) return;
    }
    event.preventDefault();
    event.stopImmediatePropagation();
    end();
  }

  // Leaving full screen (Esc, which the browser keeps) ends it too.
  function onFullScreen() {
    if (active && !document.fullscreenElement) end();
  }

  const kInputs = ['keydown', 'pointerdown', 'pointermove'];

  // Starts saver mode. `travelWakes(anchor, now)` judges pointer travel;
  // `onEnd` runs when it ends.
  function start(travelWakes, onEnd) {
    if (active) return;
    active = true;
    anchor = null;
    judge = travelWakes;
    ended = onEnd;
    document.body.classList.add('saver');
    for (const type of kInputs) window.addEventListener(type, onInput, true);
    document.addEventListener('visibilitychange', onVisible);
    const root = document.documentElement;
    const refused = () => quietly('Full screen needs a click or a key here: the Saver button or V.');
    // Without a click or key just before, browsers refuse full screen (and
    // warn on the console): then it is not asked for.
    if (navigator.userActivation && !navigator.userActivation.isActive) {
      refused();
    } else if (!document.fullscreenElement && root.requestFullscreen) {
      root.requestFullscreen()
        .then(() => document.addEventListener('fullscreenchange', onFullScreen))
        .catch(refused);
    }
    keepAwake();
  }

  function end() {
    if (!active) return;
    active = false;
    document.body.classList.remove('saver');
    for (const type of kInputs) window.removeEventListener(type, onInput, true);
    document.removeEventListener('visibilitychange', onVisible);
    document.removeEventListener('fullscreenchange', onFullScreen);
    if (lock) lock.release();
    lock = null;
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    ended();
  }

  return { start, end, get active() { return active; } };
})();
