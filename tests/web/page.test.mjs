// The site in headless Chromium: the page loads the game, a match is played
// with keys held as a person holds them, the screen is compared with the
// native program's headless screenshot of the same keys, effects and music
// are heard, and a hiscore, the options and the match's replay outlive a
// reload. A two-player match is played with keys by their place on a French
// keyboard and with a gamepad. Also the messages for a browser without
// WebAssembly or IndexedDB.
//
// Needs ./web --build (the site and npm packages in build-web/) and the
// native build (build/app/stakkor and build/data).
import {test, before, after} from 'node:test';
import assert from 'node:assert/strict';
import {createRequire} from 'node:module';
import {spawnSync} from 'node:child_process';
import {copyFileSync, mkdirSync, mkdtempSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';

import {serveSite} from '../../site/serve.mjs';
import {readRgbPng} from './png.mjs';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const siteDir = join(root, 'build-web/site');
const nativeProgram = join(root, 'build/app/stakkor');
const nativeData = join(root, 'build/data');
const outputDir = join(root, 'build-web/page-test');
const puppeteer = createRequire(join(root, 'build-web/npm/package.json'))('puppeteer-core');

const gameDirectory = '/home/web_user/stakkor';
const optionsFile = '/home/web_user/.config/Kolvanic/Stakkor/Options';
const settingsFile = '/home/web_user/.config/Kolvanic/Stakkor/stakkor.conf';
// The well's inside on the play screen: pieces move there, so it differs
// between two runs of the same keys; everything around it must not.
const well = {left: 220, top: 8, right: 420, bottom: 468};

let served;
let browser;

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

before(async () => {
  served = await serveSite(siteDir);
  browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    userDataDir: mkdtempSync(join(tmpdir(), 'stakkor-chromium-')),
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--autoplay-policy=no-user-gesture-required'],
  });
  mkdirSync(outputDir, {recursive: true});
});

after(async () => {
  if (browser) await browser.close();
  if (served) served.server.close();
});

// A page in a browser context of its own (its own IndexedDB). Dialogs fail
// the test: the game shows them only when something is wrong.
async function openPage(context, prepare) {
  const page = await context.newPage();
  await page.setViewport({width: 1000, height: 760});
  page.problems = [];
  page.on('pageerror', (error) => page.problems.push('page error: ' + error.message));
  page.on('dialog', async (dialog) => {
    page.problems.push('dialog: ' + dialog.message());
    await dialog.accept();
  });
  if (prepare) await page.evaluateOnNewDocument(prepare);
  await page.goto(served.url);
  return page;
}

async function waitForFirstFrame(page) {
  await page.waitForFunction(() => window.stakkorPage && window.stakkorPage.firstFrameAt !== null,
                             {timeout: 30000, polling: 50});
  return page.evaluate(() => window.stakkorPage.firstFrameAt);
}

const dump = (page) => page.evaluate(() => window.stakkorPage.module.stateDump());

async function waitForDump(page, what, predicate, timeout = 15000) {
  const until = Date.now() + timeout;
  let last;
  while (Date.now() < until) {
    last = await dump(page);
    if (last && predicate(last)) return last;
    await sleep(40);
  }
  assert.fail(`${what} did not happen within ${timeout} ms; the last dump: ${JSON.stringify(last)}`);
}

// Keys are held about as long as a person's quick press, and let go as long.
async function press(page, key, holdMs = 60) {
  await page.keyboard.down(key);
  await sleep(holdMs);
  await page.keyboard.up(key);
  await sleep(holdMs);
}

async function type(page, text) {
  for (const letter of text) await press(page, 'Key' + letter);
}

const audioStats = (page) => page.evaluate(() => Object.assign({}, window.stakkorPage.module.audioStats));

const describeAudio = (what, stats) =>
  `audio, ${what}: ${stats.blocks} blocks of ${stats.frames / stats.blocks} frames, mixed in ` +
  `${(stats.mixMilliseconds / stats.blocks).toFixed(3)} ms on average, ${stats.longestMixMilliseconds.toFixed(1)} ms at most`;

async function canvasRgba(page) {
  const base64 = await page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let text = '';
    for (let at = 0; at < pixels.length; at += 0x8000) {
      text += String.fromCharCode.apply(null, pixels.subarray(at, at + 0x8000));
    }
    return btoa(text);
  });
  return Buffer.from(base64, 'base64');
}

// The native program's screen for the same keys: Return ends the title,
// Return again starts a one-player match from the menu.
function nativePlayScreen() {
  const dir = mkdtempSync(join(tmpdir(), 'stakkor-native-'));
  try {
    for (const name of ['DATA.ONE', 'MUSIC.MDS']) copyFileSync(join(nativeData, name), join(dir, name));
    writeFileSync(join(dir, 'run.txt'), '800 down RETURN\n860 up RETURN\n1200 down RETURN\n1260 up RETURN\n1700 shot play.png\n');
    const run = spawnSync(nativeProgram, ['--headless', '--script', 'run.txt', '--max-ms', '1800'], {
      cwd: dir, env: Object.assign({}, process.env, {XDG_CONFIG_HOME: dir, LC_ALL: 'C', LANG: 'C'}), encoding: 'utf8'});
    assert.equal(run.status, 3, 'the native run ends at --max-ms: ' + run.stderr);
    return readRgbPng(join(dir, 'play.png'));
  } finally {
    rmSync(dir, {recursive: true, force: true});
  }
}

function differencesOutsideTheWell(rgba, native) {
  const found = [];
  for (let y = 0; y < 480; ++y) {
    for (let x = 0; x < 640; ++x) {
      if (x >= well.left && x < well.right && y >= well.top && y < well.bottom) continue;
      const a = (y * 640 + x) * 4, b = (y * 640 + x) * 3;
      if (rgba[a] !== native.rgb[b] || rgba[a + 1] !== native.rgb[b + 1] || rgba[a + 2] !== native.rgb[b + 2]) {
        found.push(`(${x}, ${y}): page ${rgba.subarray(a, a + 3).join(' ')}, native ${native.rgb.subarray(b, b + 3).join(' ')}`);
      }
    }
  }
  return found;
}

// A hiscore table that any points enter: ten empty rows, checksum 0.
const emptyHiscoreTable = () => new Uint8Array(424);

function firstHiscoreRow(data) {
  if (data.length !== 424) return {length: data.length};
  const name = data.subarray(12, 42);
  return {points: data.readInt32LE(0), name: name.subarray(0, name.indexOf(0)).toString('latin1')};
}

// No test may hang CI: a browser that stops answering fails the test.
const limit = {timeout: 120000};

test('a match in the page: screen, keys, sound, and saves that outlive a reload', limit, async (t) => {
  let bytes = 0, gzipped = 0;
  for (const file of served.files.values()) {
    bytes += file.body.length;
    gzipped += file.gzipped.length;
  }
  t.diagnostic(`site: ${served.files.size} files, ${(bytes / 1e6).toFixed(2)} MB, ${(gzipped / 1e6).toFixed(2)} MB gzipped`);
  const context = await browser.createBrowserContext();
  let page = await openPage(context);
  const firstFrame = await waitForFirstFrame(page);
  t.diagnostic(`first frame ${firstFrame.toFixed(0)} ms after the page started loading`);
  assert.equal(await page.evaluate(() => window.stakkorPage.saves), 'kept');
  await page.evaluate((path, table) => window.stakkorPage.module.FS.writeFile(path, new Uint8Array(table)),
                      gameDirectory + '/HISCORE.DAT', Array.from(emptyHiscoreTable()));

  // Return ends the title and, in the menu, starts a one-player match.
  let state = await dump(page);
  for (let i = 0; i < 20 && state.matchSeed === null; ++i) {
    await press(page, 'Enter');
    await sleep(300);
    state = await dump(page);
  }
  state = await waitForDump(page, 'a one-player match', (d) => d.matchSeed !== null && d.playerCount === 1);
  assert.equal(state.players[0].points, 0);

  await t.test('the play screen is the native one around the well', async () => {
    await sleep(200);
    const differences = differencesOutsideTheWell(await canvasRgba(page), nativePlayScreen());
    assert.deepEqual(differences.slice(0, 5), [], `${differences.length} pixels differ`);
  });

  const cpuStart = await page.metrics();
  const wallStart = Date.now();

  await t.test('held keys move and drop pieces', async () => {
    const spawned = await dump(page);
    await press(page, 'ArrowLeft');
    await press(page, 'ArrowLeft');
    const moved = await dump(page);
    assert.ok(moved.players[0].pieceX < spawned.players[0].pieceX, `pieceX ${spawned.players[0].pieceX} -> ${moved.players[0].pieceX}`);
    for (let i = 0; i < 3; ++i) await press(page, 'Control');
    state = await waitForDump(page, 'points for dropped pieces', (d) => d.players[0].points >= 2);
    assert.match(state.players[0].well, /[1-7]/);
  });

  await t.test('effects and music sound', async () => {
    const stats = await audioStats(page);
    t.diagnostic(describeAudio('effects and music', stats));
    assert.ok(stats.blocks > 10, `${stats.blocks} audio blocks`);
    assert.ok(stats.midiEvents > 0, 'MIDI events reached FluidSynth');
    assert.ok(stats.musicPeak > 0, 'FluidSynth sounded');
    assert.ok(stats.peak > 0, 'the speakers got sound');
  });

  await t.test('music off (F8) and keys switched (F1); effects alone still sound', async () => {
    await press(page, 'F8');
    await waitForDump(page, 'music off', (d) => d.musicOff === 1);
    await page.evaluate(() => window.stakkorPage.module.resetAudioStats());
    await press(page, 'F1');
    await waitForDump(page, 'the other keys', (d) => d.controlLayout[0] === 1 &&
                                                     d.players[0].controlHandler === 'ArrowKeysUpRotate');
    // With these keys Down drops: pieces until the well is full.
    for (let i = 0; i < 60 && (await dump(page)).players[0].state >= 100; ++i) await press(page, 'ArrowDown');
    await page.screenshot({path: join(outputDir, 'page.png')});
    state = await waitForDump(page, 'the end of the match', (d) => d.players[0].state <= 0, 20000);
    const stats = await audioStats(page);
    t.diagnostic(describeAudio('effects only', stats));
    assert.ok(stats.peak > 0, 'the drops were heard');
    assert.equal(stats.midiEvents, 0, 'no music while it is off');
    assert.equal(stats.musicPeak, 0);
  });

  const cpuEnd = await page.metrics();
  const seconds = (Date.now() - wallStart) / 1000;
  t.diagnostic(`main thread busy ${(100 * (cpuEnd.TaskDuration - cpuStart.TaskDuration) / seconds).toFixed(1)} % ` +
               `of ${seconds.toFixed(1)} s of play (script ${(100 * (cpuEnd.ScriptDuration - cpuStart.ScriptDuration) / seconds).toFixed(1)} %)`);

  await t.test('the hiscore and the options outlive a reload', async () => {
    const points = state.players[0].points;
    await sleep(500);
    await type(page, 'WEB');
    await press(page, 'Enter');
    await sleep(300);
    await press(page, 'Enter');  // leaves the table, which writes it
    await sleep(500);
    await press(page, 'Escape');  // quits from the menu
    await sleep(800);
    await press(page, 'Enter');  // ends the closing logo
    await page.waitForFunction(() => window.stakkorPage.ended !== null, {timeout: 15000, polling: 50});
    assert.equal(await page.evaluate(() => window.stakkorPage.ended), 0);
    // The files as the game sees them; null for a file that is not there.
    const read = async (path) => {
      const bytes = await page.evaluate((p) => {
        try {
          return Array.from(window.stakkorPage.module.FS.readFile(p));
        } catch (error) {
          return null;
        }
      }, path);
      return bytes && Buffer.from(bytes);
    };
    const savedFiles = async () => {
      const options = await read(optionsFile);
      const settings = await read(settingsFile);
      const hiscore = await read(gameDirectory + '/HISCORE.DAT');
      const replays = await page.evaluate((dir) => {
        try {
          return window.stakkorPage.module.FS.readdir(dir).filter((name) => name.endsWith('.rpl'));
        } catch (error) {
          return null;
        }
      }, gameDirectory + '/replays');
      return {options: options && options.toString(), settings: settings !== null,
              hiscore: hiscore && firstHiscoreRow(hiscore), replays};
    };
    const written = await savedFiles();
    assert.deepEqual(written, {options: '1 0 1', settings: true, hiscore: {points, name: 'WEB'},
                               replays: ['match-000001.rpl']});

    await page.reload();
    await waitForFirstFrame(page);
    assert.equal(await page.evaluate(() => window.stakkorPage.saves), 'kept');
    assert.deepEqual(await savedFiles(), written);
    state = await dump(page);
    assert.deepEqual(state.controlLayout, [1, 0]);
    assert.equal(state.musicOff, 1);
  });

  assert.deepEqual(page.problems, []);
  await context.close();
});

// A gamepad with the standard mapping that the test presses: the page sees
// it through navigator.getGamepads() once it is plugged in.
function installTestPad() {
  const buttons = Array.from({length: 17}, () => ({pressed: false, touched: false, value: 0}));
  const pad = {id: 'Stakkor test pad', index: 0, connected: true, mapping: 'standard', timestamp: 0,
               axes: [0, 0, 0, 0], buttons};
  window.testPad = {
    plugged: false,
    press(button, pressed) {
      Object.assign(buttons[button], {pressed, touched: pressed, value: pressed ? 1 : 0});
      pad.timestamp = performance.now();
    },
  };
  Object.defineProperty(Navigator.prototype, 'getGamepads', {
    configurable: true,
    value: () => [window.testPad.plugged ? pad : null, null, null, null],
  });
}

// Holds a key as a French keyboard reports it: `code` is where it sits,
// `key` and `keyCode` what it types.
async function holdFrenchKey(session, code, key, keyCode, until) {
  const event = {code, key, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode};
  await session.send('Input.dispatchKeyEvent', Object.assign({type: 'keyDown', text: key}, event));
  try {
    return await until();
  } finally {
    await session.send('Input.dispatchKeyEvent', Object.assign({type: 'keyUp'}, event));
    await sleep(60);
  }
}

test('a two-player match with keys by their place on a French keyboard and with a gamepad', limit, async () => {
  const context = await browser.createBrowserContext();
  const page = await openPage(context, installTestPad);
  await waitForFirstFrame(page);
  const session = await page.createCDPSession();
  // 2 at the title chooses two players (held until the game has seen it);
  // Return in the menu starts the match.
  await page.keyboard.down('Digit2');
  await waitForDump(page, 'two players chosen', (d) => d.playerCount === 2);
  await page.keyboard.up('Digit2');
  let state = await dump(page);
  for (let i = 0; i < 20 && state.matchSeed === null; ++i) {
    await press(page, 'Enter');
    await sleep(300);
    state = await dump(page);
  }
  state = await waitForDump(page, 'a two-player match', (d) => d.matchSeed !== null && d.players[0].state >= 100);
  const pieceX = () => dump(page).then((d) => d.players[0].pieceX);

  // Player 1's left is the key where a US keyboard has A: on a French one
  // that key types Q. The key that types A there (where Q is) is no key of
  // player 1's.
  let x = await pieceX();
  await holdFrenchKey(session, 'KeyQ', 'a', 65, () => sleep(150));
  assert.equal(await pieceX(), x, 'the key that types A moves nothing');
  await holdFrenchKey(session, 'KeyA', 'q', 81, () =>
    waitForDump(page, 'player 1 moved left', (d) => d.players[0].pieceX < x, 5000));

  // The first pad plays for player 1: its D-pad right moves the piece.
  await page.evaluate(() => { window.testPad.plugged = true; });
  x = await pieceX();
  await page.evaluate(() => window.testPad.press(15, true));
  try {
    await waitForDump(page, 'player 1 moved right by pad', (d) => d.players[0].pieceX > x, 5000);
  } finally {
    await page.evaluate(() => window.testPad.press(15, false));
  }
  assert.deepEqual(page.problems, []);
  await context.close();
});

test('without WebAssembly the page says so', limit, async () => {
  const context = await browser.createBrowserContext();
  const page = await openPage(context, () => { delete window.WebAssembly; });
  await page.waitForFunction(() => document.getElementById('status').className === 'error', {timeout: 10000});
  assert.match(await page.$eval('#status', (e) => e.textContent), /cannot run WebAssembly/);
  await context.close();
});

test('without IndexedDB the game starts and says that saves are not kept', limit, async () => {
  const context = await browser.createBrowserContext();
  const page = await openPage(context, () => { Object.defineProperty(window, 'indexedDB', {value: undefined}); });
  await waitForFirstFrame(page);
  assert.equal(await page.evaluate(() => window.stakkorPage.saves), 'unavailable');
  assert.match(await page.$eval('#status', (e) => e.textContent), /hiscores and options are lost|will not be kept/);
  assert.deepEqual(page.problems, []);
  await context.close();
});
