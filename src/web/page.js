'use strict';

// The window's frame loop as a page can run it: it cannot block, so each wait ends by handing the
// thread back to the browser and being called again; the rules themselves are the C++ core's.
(() => {
  const kNormalInterval = 50;  // ms a frame
  const kFastInterval = 3;
  const kMaxSliceMs = 8;  // frames back to back, then input and painting are served
  const kSliceFrames = 512;  // frames between clock readings in a slice
  const kCourtWidth = 257;
  const kCourtHeight = 169;

  const canvas = document.getElementById('court');
  const maxButton = document.getElementById('max');
  const fastButton = document.getElementById('fast');
  const status = document.getElementById('status');
  const share = document.getElementById('share');
  const question = document.getElementById('question');

  const say = (text) => {
    status.textContent = text;
  };

  // What the tests and the benchmark read: a plain record, never a way in.
  const stats = {
    state: 'loading',  // loading, playing, asking, ended, failed
    match: 1,
    frames: 0,  // in the match on screen
    frameStarts: [],  // the last frames' start times, for the pace
    maxFrames: 0,  // frames run in Max mode, and the time they took between questions
    maxMs: 0,
  };
  window.quarrowPage = stats;

  if (typeof WebAssembly !== 'object' || typeof createQuarrow !== 'function') {
    say('This browser cannot run WebAssembly, which the simulation needs: try a current browser.');
    maxButton.disabled = true;
    fastButton.disabled = true;
    stats.state = 'failed';
    return;
  }

  // ?seed=N follows one run from its seed, as quarrow-sim --seed N does; &match=K starts at its
  // match K. Anything else plays from the clock, and says why.
  const readRun = () => {
    const params = new URLSearchParams(window.location.search);
    const seedText = params.get('seed');
    const matchText = params.get('match');
    const whole = /^[0-9]{1,12}$/;
    const shown = (text) => (text.length > 24 ? `${text.slice(0, 24)}…` : text);
    const clock = (problem) => ({ seeded: false, seed: 0, match: 1, problem });
    if (seedText === null) {
      return matchText === null ? clock('') : clock('A match number needs a seed: playing from the clock.');
    }
    if (!whole.test(seedText) || Number(seedText) > 4294967295) {
      return clock(`The seed "${shown(seedText)}" is not a whole number from 0 to 4294967295: playing from the clock.`);
    }
    let match = 1;
    if (matchText !== null) {
      if (!whole.test(matchText) || Number(matchText) < 1) {
        return clock(`The match "${shown(matchText)}" is not a whole number from 1: playing from the clock.`);
      }
      match = Number(matchText);
    }
    return { seeded: true, seed: Number(seedText), match, problem: '' };
  };
  const run = readRun();

  let core = null;
  let dirty = false;  // a picture not yet shown
  let nextTick = 0;
  let timer = 0;
  let posted = false;
  let lastMaxStart = null;
  const wake = new MessageChannel();

  const fail = (error) => {
    if (stats.state === 'failed') {
      return;
    }
    stats.state = 'failed';
    clearTimeout(timer);
    if (question.open) {
      question.close();
    }
    say(`The simulation stopped on an internal fault (${error && error.message ? error.message : error}). Reload the page to start again.`);
  };

  // Every call into the core goes through here: a trap or an exception stops the loop with a word.
  const guarded = (action) => (...args) => {
    try {
      return action(...args);
    } catch (error) {
      fail(error);
      return undefined;
    }
  };

  // The canvas as the core's surface: button-face background, black foreground, filled rectangles
  // on whole device pixels as the window fills them, lines and circles antialiased.
  const context = canvas.getContext('2d');
  let ratio = 1;
  const fitBackingStore = (scale) => {
    ratio = scale;
    context.setTransform(ratio, 0, 0, ratio, 0, 0);
    dirty = true;
  };
  const style = getComputedStyle(canvas);
  const background = style.backgroundColor;
  const foreground = style.color;
  const snap = (v) => Math.round(v * ratio) / ratio;
  const surface = {
    clear() {
      context.fillStyle = background;
      context.fillRect(0, 0, kCourtWidth, kCourtHeight);
    },
    line(x1, y1, x2, y2) {
      context.strokeStyle = foreground;
      context.lineWidth = 1;
      context.beginPath();
      context.moveTo(x1, y1);
      context.lineTo(x2, y2);
      context.stroke();
    },
    rectangle(x1, y1, x2, y2, r, g, b) {
      const left = snap(Math.min(x1, x2));
      const top = snap(Math.min(y1, y2));
      context.fillStyle = `rgb(${r}, ${g}, ${b})`;
      context.fillRect(left, top, snap(Math.max(x1, x2)) - left, snap(Math.max(y1, y2)) - top);
    },
    circle(x, y, radius) {
      context.strokeStyle = foreground;
      context.lineWidth = 1;
      context.beginPath();
      context.arc(x, y, radius, 0, 2 * Math.PI);
      context.stroke();
    },
  };

  const paint = () => {
    if (dirty && core !== null) {
      dirty = false;
      guarded(() => core._QuarrowPaint())();
    }
    if (stats.state !== 'failed' && stats.state !== 'ended') {
      requestAnimationFrame(paint);
    }
  };

  const updateShare = (seed) => {
    const address = run.seeded ? `?seed=${run.seed}&match=${stats.match}` : `?seed=${seed}`;
    const link = document.createElement('a');
    link.href = address;
    link.textContent = address;
    share.replaceChildren(`This match: ${run.seeded ? `match ${stats.match} of seed ${run.seed}` : `seed ${seed}`}, `, link);
  };

  const startMatch = guarded(() => {
    const seed = core._QuarrowNewMatch() >>> 0;
    stats.frames = 0;
    stats.frameStarts = [];
    stats.state = 'playing';
    nextTick = 0;  // the first frame runs at once
    dirty = true;
    updateShare(seed);
    schedule();
  });

  // The next step as a task of its own, so that input and painting come between; a message is not
  // held back by the browser's 4 ms clamp on nested timers.
  function schedule() {
    if (!posted) {
      posted = true;
      wake.port2.postMessage(0);
    }
  }

  const ask = guarded(() => {
    stats.state = 'asking';
    document.getElementById('question-text').textContent = core.UTF8ToString(core._QuarrowQuestion());
    question.showModal();
    document.getElementById('yes').focus();
  });

  // One pass of the frame loop: wait (by coming back later) until the deadline has passed, or run
  // at once in Max mode; then the frame, or in Max mode a slice of frames.
  const step = guarded(() => {
    posted = false;
    if (stats.state !== 'playing') {
      return;
    }
    const now = performance.now();
    const max = core._QuarrowMaxMode() !== 0;
    if (!max && !(now > nextTick)) {
      const left = nextTick - now;
      // A timer for the long part of a wait, messages for the last few milliseconds.
      if (left > 6) {
        clearTimeout(timer);
        timer = setTimeout(schedule, left - 5);
      } else {
        schedule();
      }
      return;
    }
    let tick = now;
    let frames = 0;
    if (max) {
      if (lastMaxStart === null) {
        lastMaxStart = now;
      }
      const sliceEnd = now + kMaxSliceMs;
      do {
        frames += core._QuarrowFrames(kSliceFrames);
        tick = performance.now();
      } while (tick < sliceEnd && core._QuarrowWinner() === 0 && stats.state === 'playing');
      stats.maxFrames += frames;
      stats.maxMs += tick - lastMaxStart;
      lastMaxStart = tick;
    } else {
      lastMaxStart = null;
      frames = core._QuarrowFrames(1);
      stats.frameStarts.push(now);
      if (stats.frameStarts.length > 400) {
        stats.frameStarts.splice(0, 200);
      }
    }
    // Counted from the end of the wait, with the clock's fraction of a millisecond.
    nextTick = tick + (core._QuarrowFastMode() !== 0 ? kFastInterval : kNormalInterval);
    stats.frames += frames;
    dirty = true;
    if (core._QuarrowWinner() !== 0) {
      lastMaxStart = null;
      ask();
      return;
    }
    schedule();
  });
  wake.port1.onmessage = step;

  // A click on Max during a wait ends it at once, as the window's next test would.
  const wakeNow = () => {
    clearTimeout(timer);
    schedule();
  };
  maxButton.addEventListener('click', guarded(() => {
    if (stats.state === 'playing') {
      core._QuarrowMaxClick();
      wakeNow();
    }
  }));
  fastButton.addEventListener('click', guarded(() => {
    if (stats.state === 'playing') {
      core._QuarrowFastClick();
    }
  }));

  // A drag with any button held places a dead ball, in court pixels and unclamped; the capture keeps
  // the moves coming outside the court while the button pressed on it is held. Touch does the same.
  canvas.addEventListener('pointerdown', (event) => {
    canvas.setPointerCapture(event.pointerId);
  });
  canvas.addEventListener('pointermove', guarded((event) => {
    if (stats.state !== 'playing') {
      return;
    }
    const box = canvas.getBoundingClientRect();
    const cssPixels = ratio / (window.devicePixelRatio || 1);  // a court pixel's
    const x = (event.clientX - box.left - canvas.clientLeft) / cssPixels;
    const y = (event.clientY - box.top - canvas.clientTop) / cssPixels;
    core._QuarrowMouseMove(event.buttons & 7, x, y);
    dirty = true;
  }));
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());

  // Yes or No; a Yes/No box has no cancel, so Escape does nothing.
  question.addEventListener('cancel', (event) => event.preventDefault());
  document.getElementById('yes').addEventListener('click', () => {
    question.close();
    stats.match += 1;
    startMatch();
  });
  document.getElementById('no').addEventListener('click', () => {
    question.close();
    stats.state = 'ended';
    maxButton.disabled = true;
    fastButton.disabled = true;
    say('The simulation has ended. Reload the page to start it again.');
  });

  // A seeded run's earlier matches are played out in slices, so the page answers meanwhile.
  const playTo = guarded((target, done) => {
    let match = 1;
    let setUp = false;
    const skip = guarded(() => {
      const sliceEnd = performance.now() + kMaxSliceMs;
      while (match < target && performance.now() < sliceEnd) {
        if (!setUp) {
          core._QuarrowNewMatch();
          setUp = true;
        }
        core._QuarrowFrames(1 << 14);
        if (core._QuarrowWinner() !== 0) {
          match += 1;
          setUp = false;
        }
      }
      if (stats.state === 'failed') {
        return;
      }
      if (match < target) {
        say(`Playing on to match ${target}: match ${match}…`);
        setTimeout(skip, 0);
      } else {
        say(run.problem);
        done();
      }
    });
    skip();
  });

  window.addEventListener('error', (event) => fail(event.error || event.message));
  window.addEventListener('unhandledrejection', (event) => fail(event.reason));

  fitBackingStore(quarrowShell.fitCourt(canvas, kCourtWidth, kCourtHeight, fitBackingStore));
  say(run.problem);
  createQuarrow({ court: surface })
    .then((module) => {
      core = module;
      stats.ball = () => ({ x: core._QuarrowBallX(), y: core._QuarrowBallY(), team: core._QuarrowBallTeam() });
      stats.player = (i) => ({ x: core._QuarrowPlayerX(i), y: core._QuarrowPlayerY(i) });
      guarded(() => core._QuarrowStart(run.seeded ? 1 : 0, run.seed))();
      stats.match = run.match;
      playTo(run.match, () => {
        startMatch();
        requestAnimationFrame(paint);
      });
    })
    .catch(fail);
})();
