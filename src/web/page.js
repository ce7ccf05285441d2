'use strict';

// What only a browser can do for the play loop: keep time between passes, paint the canvas, show
// the loop's texts and states in the page, and hold the question in a <dialog>. What is due, and
// every text shown, is the C++ core's (src/play), as the window's.
(() => {
  const canvas = document.getElementById('court');
  const maxButton = document.getElementById('max');
  const fastButton = document.getElementById('fast');
  const pauseButton = document.getElementById('pause');
  const status = document.getElementById('status');
  const share = document.getElementById('share');
  const question = document.getElementById('question');
  const news = document.getElementById('news');
  let newsSeen = 0;

  const say = (text) => {
    if (status.textContent !== text) {
      status.textContent = text;
    }
  };

  // What the tests and the benchmark read: a plain record, never a way in.
  const stats = {
    state: 'loading',  // loading, playing-on, playing, asking, ended, failed
    match: 1,
    frames: 0,  // in the match on screen
    frameStarts: [],  // the last frames' start times, for the pace
    maxFrames: 0,  // frames run in Max mode, and the time they took between questions
    maxMs: 0,
    statusTimes: [],  // when the status line changed
  };
  window.quarrowPage = stats;
  new MutationObserver(() => { stats.statusTimes.push(performance.now()); }).observe(status, { childList: true, characterData: true, subtree: true });

  const disable = () => {
    maxButton.disabled = true;
    fastButton.disabled = true;
    pauseButton.disabled = true;
  };
  if (typeof WebAssembly !== 'object' || typeof createQuarrow !== 'function') {
    say('This browser cannot run WebAssembly, which the simulation needs: try a current browser.');
    disable();
    stats.state = 'failed';
    return;
  }

  let core = null;
  let dirty = false;  // a picture not yet shown
  let timer = 0;
  let posted = false;
  let lastMaxStart = null;
  let seen = -1;  // the core's revision shown
  const wake = new MessageChannel();
  const text = (pointer) => core.UTF8ToString(pointer);

  const fail = (error) => {
    if (stats.state === 'failed') {
      return;
    }
    stats.state = 'failed';
    clearTimeout(timer);
    if (question.open) {
      question.close();
    }
    disable();
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
  const court = { width: canvas.width, height: canvas.height };
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
      context.fillRect(0, 0, court.width, court.height);
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
  // While a run plays on to its match, the court shows the line that says so.
  const label = canvas.getAttribute('aria-label');
  const paintWords = (words) => {
    surface.clear();
    context.fillStyle = foreground;
    context.textAlign = 'center';
    context.textBaseline = 'middle';
    context.font = style.font;
    context.fillText(words, court.width / 2, court.height / 2, court.width - 8);
  };

  const paint = () => {
    if (dirty && core !== null) {
      dirty = false;
      if (stats.state === 'playing-on') {
        paintWords(status.textContent);
      } else {
        guarded(() => core._QuarrowPaint())();
      }
    }
    if (stats.state !== 'failed' && stats.state !== 'ended') {
      requestAnimationFrame(paint);
    }
  };

  // The page as the core's view of the run now stands, when that has changed.
  const show = () => {
    const revision = core._QuarrowRevision();
    if (revision === seen) {
      return;
    }
    seen = revision;
    dirty = true;
    const stage = text(core._QuarrowStage());
    stats.state = stage;
    stats.match = core._QuarrowMatch();
    say(text(core._QuarrowStatus()));
    // A sentence said again is a change too: the region is emptied first.
    if (core._QuarrowAnnouncements() !== newsSeen) {
      newsSeen = core._QuarrowAnnouncements();
      news.textContent = '';
      news.textContent = text(core._QuarrowAnnouncement());
    }
    const playingOn = stage === 'playing-on';
    canvas.setAttribute('aria-label', playingOn ? status.textContent : label);
    for (const [button, on] of [[maxButton, core._QuarrowMaxMode()], [fastButton, core._QuarrowFastMode()],
      [pauseButton, core._QuarrowPaused()]]) {
      button.disabled = stage !== 'playing';
      button.setAttribute('aria-pressed', on ? 'true' : 'false');
    }
    if (!playingOn && stage !== 'ended') {
      const link = document.createElement('a');
      link.href = text(core._QuarrowShareLink());
      link.textContent = link.getAttribute('href');
      share.replaceChildren(text(core._QuarrowShareLine()), link);
    }
    if (stage === 'asking' && !question.open) {
      document.getElementById('question-text').textContent = text(core._QuarrowQuestion());
      question.showModal();
      document.getElementById('yes').focus();
    } else if (stage !== 'asking' && question.open) {
      question.close();
    }
    if (stage === 'ended') {
      status.focus();
    }
  };

  // The next pass as a task of its own, so that input and painting come between; a message is not
  // held back by the browser's clamp on nested timers.
  function schedule() {
    if (!posted) {
      posted = true;
      wake.port2.postMessage(0);
    }
  }

  const pass = guarded(() => {
    posted = false;
    if (stats.state === 'failed') {
      return;
    }
    const now = performance.now();
    const before = core._QuarrowMatch();
    const wait = core._QuarrowPass(now);
    const frames = core._QuarrowFramesLastPass();
    if (frames > 0) {
      dirty = true;
      if (core._QuarrowMaxMode()) {
        const end = performance.now();
        stats.maxFrames += frames;
        stats.maxMs += end - (lastMaxStart === null ? now : lastMaxStart);
        lastMaxStart = end;
      } else {
        lastMaxStart = null;
        stats.frameStarts.push(now);
        if (stats.frameStarts.length > 400) {
          stats.frameStarts.splice(0, 200);
        }
      }
    }
    if (core._QuarrowMatch() !== before) {
      stats.frameStarts = [];
    }
    stats.frames = core._QuarrowMatchFrames();
    show();
    if (wait > 0) {
      clearTimeout(timer);
      timer = setTimeout(schedule, wait);
    } else if (wait === 0) {
      schedule();
    } else {
      lastMaxStart = null;
    }
  });
  wake.port1.onmessage = pass;

  // A click on Max during a wait ends it at once, as the window's next test would.
  maxButton.addEventListener('click', guarded(() => {
    core._QuarrowMaxClick();
    show();
    clearTimeout(timer);
    schedule();
  }));
  fastButton.addEventListener('click', guarded(() => {
    core._QuarrowFastClick();
    show();
  }));

  pauseButton.addEventListener('click', guarded(() => {
    core._QuarrowPauseClick();
    show();
    schedule();
  }));
  // The loop's keys wherever the focus is, the question apart: P pauses, "." steps, M and F.
  const keys = {
    p: () => pauseButton.click(),
    '.': guarded(() => { core._QuarrowStepClick(); schedule(); }),
    m: () => maxButton.click(),
    f: () => fastButton.click(),
  };
  document.addEventListener('keydown', (event) => {
    const key = keys[event.key.toLowerCase()];
    if (key && !question.open && !event.ctrlKey && !event.altKey && !event.metaKey && core !== null) {
      event.preventDefault();
      key();
    }
  });

  // The court's placement keys go to the core, which says whether it took them.
  const courtKeys = { ArrowLeft: 0, ArrowRight: 1, ArrowUp: 2, ArrowDown: 3, Enter: 4, ' ': 4, Escape: 5 };
  canvas.addEventListener('keydown', guarded((event) => {
    const key = courtKeys[event.key];
    if (key !== undefined && core !== null && !event.ctrlKey && !event.altKey && !event.metaKey &&
        core._QuarrowCourtKey(key, event.shiftKey ? 1 : 0)) {
      event.preventDefault();
      dirty = true;
    }
  }));
  canvas.addEventListener('blur', guarded(() => {
    if (core !== null) {
      core._QuarrowLeavePlacement();
      dirty = true;
    }
  }));

  // A drag with any button held places a dead ball, in court pixels and unclamped; the capture keeps
  // the moves coming outside the court while the button pressed on it is held. Touch does the same.
  canvas.addEventListener('pointerdown', (event) => {
    canvas.setPointerCapture(event.pointerId);
  });
  canvas.addEventListener('pointermove', guarded((event) => {
    const box = canvas.getBoundingClientRect();
    const cssPixels = ratio / (window.devicePixelRatio || 1);  // a court pixel's
    const x = (event.clientX - box.left - canvas.clientLeft) / cssPixels;
    const y = (event.clientY - box.top - canvas.clientTop) / cssPixels;
    core._QuarrowMouseMove(event.buttons & 7, x, y);
    dirty = true;
  }));
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());

  // Yes or No, and nothing else: a browser closes a modal dialog on Escape in spite of a refused
  // cancel when Escape comes again, so Escape never reaches the dialog, and a close it did not ask
  // for is undone.
  question.addEventListener('keydown', (event) => {
    if (event.key === 'Escape') {
      event.preventDefault();
    }
  });
  question.addEventListener('cancel', (event) => event.preventDefault());
  question.addEventListener('close', () => {
    if (stats.state === 'asking') {
      question.showModal();
      document.getElementById('yes').focus();
    }
  });
  const answer = (yes) => guarded(() => {
    core._QuarrowAnswer(yes ? 1 : 0);
    show();
    schedule();
  });
  document.getElementById('yes').addEventListener('click', answer(true));
  document.getElementById('no').addEventListener('click', answer(false));

  window.addEventListener('error', (event) => fail(event.error || event.message));
  window.addEventListener('unhandledrejection', (event) => fail(event.reason));

  createQuarrow({ court: surface })
    .then(guarded((module) => {
      core = module;
      stats.ball = () => ({ x: core._QuarrowBallX(), y: core._QuarrowBallY(), team: core._QuarrowBallTeam() });
      stats.player = (i) => ({ x: core._QuarrowPlayerX(i), y: core._QuarrowPlayerY(i) });
      core.ccall('QuarrowBegin', null, ['string'], [window.location.search]);
      court.width = core._QuarrowCourtWidth();
      court.height = core._QuarrowCourtHeight();
      fitBackingStore(quarrowShell.fitCourt(canvas, court.width, court.height, fitBackingStore));
      show();
      schedule();
      requestAnimationFrame(paint);
    }))
    .catch(fail);
})();
