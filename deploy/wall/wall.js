// The line's wall: three views of what the stations put on this server,
// read through nginx's JSON directory listing.
//   #stations               every station's heartbeat (stations/) and today's newest runs
//   #yield?day=YYYY-MM-DD   a UTC day's yield (or #yield?hours=N: the last N hours)
//   #board?serial=SERIAL    every run of one board (boards/<serial>/, older flat runs/)
// Every value from the server is data: it reaches the page as text nodes and
// checked attributes only, and a file that is not what it should be is
// counted, never shown. A file is fetched again only when the listing gives
// it another time or size. Ages and "today" are the server's own clock (the
// listing's Date header), so the boards' and this browser's clocks do not matter.
"use strict";

const POLL_MS = { stations: 2000, yield: 5000, board: 5000 };
const RUNS_SHOWN = 50;
const MISSED_BEATS = 3;      // heartbeats missed before a tile says "no contact"
const LINES = 15;
const FETCHES = 8;           // files fetched at once
const SETTLE_MS = 2000;      // a listing's times have whole seconds: a file this fresh may change again unseen
const CACHE_MAX = 20000;
const NAMES = ["I2C", "GPIO", "UART", "SPI Master", "SPI Slave", "ADC", "USB1", "USB2", "PL2303", "DSI",
  "LVDS", "Audio", "MQS", "CSI", "RTC"];
const OUTCOME_CLASS = {
  "passed": "o-passed", "failed": "o-failed", "timed out": "o-timed-out",
  "warning": "o-warning", "not recorded": "o-not-recorded", "not run": "o-not-run",
};
const TOTALS = ["tests", "passed", "failed", "warning", "not_run", "timed_out", "not_recorded", "duration_ms"];
// <serial>-<UTC start>, the serial as the station makes it file-safe
const ID_RE = /^([A-Za-z0-9_-][A-Za-z0-9._-]{0,127})-(\d{4})(\d{2})(\d{2})T(\d{2})(\d{2})(\d{2})\.(\d{3})Z$/;
const SERIAL_RE = /^[A-Za-z0-9_-][A-Za-z0-9._-]{0,127}$/;
const STATION_RE = /^[A-Za-z0-9_][A-Za-z0-9._-]{0,127}$/;
const DAY_RE = /^(\d{4})-(\d{2})-(\d{2})$/;
const ISO_RE = /^(\d{4})-(\d{2})-(\d{2})T(\d{2}):(\d{2}):(\d{2})\.(\d{3})Z$/;
const SVG_NS = "http://www.w3.org/2000/svg";

const store = new Map();     // path -> {key, value (checked summary, or null: unreadable), seen}
const tiles = new Map();     // station id -> {el, sig}
const stats = window.wallStats = { polls: 0, lastPollMs: 0, pollMs: [], pollFetched: [], fetched: 0, view: "", firstPaintMs: null, fullPaintMs: null };
let serverClock = { date: NaN, at: 0 };
let loads = 0;               // files fetched so far: what was drawn is current while it stays
let drawn = "";
let lastYield = null;        // the Yield view's runs, for the CSV

// --- small checks and formats ----------------------------------------------

const isObj = v => v !== null && typeof v === "object" && !Array.isArray(v);
const isText = v => typeof v === "string" && v.length > 0 && v.length <= 4096;
const isCount = v => Number.isInteger(v) && v >= 0;
const plural = (n, one, many) => n + " " + (n === 1 ? one : many);
const pad = (n, w = 2) => String(n).padStart(w, "0");

function utcMs(y, mo, d, h = 0, mi = 0, s = 0, ms = 0) {
  const t = Date.UTC(+y, +mo - 1, +d, +h, +mi, +s, +ms);
  const x = new Date(t);
  // no 31 February, no 25 o'clock
  return x.getUTCFullYear() === +y && x.getUTCMonth() === +mo - 1 && x.getUTCDate() === +d &&
    x.getUTCHours() === +h && x.getUTCMinutes() === +mi && x.getUTCSeconds() === +s ? t : NaN;
}

function isoMs(s) {
  const m = typeof s === "string" ? ISO_RE.exec(s) : null;
  return m ? utcMs(m[1], m[2], m[3], m[4], m[5], m[6], m[7]) : NaN;
}

const ids = new Map(); // a listing names mostly the same files every time

function parseId(id) {
  let run = ids.get(id);
  if (run !== undefined) return run;
  const m = ID_RE.exec(id);
  const ms = m ? utcMs(m[2], m[3], m[4], m[5], m[6], m[7], m[8]) : NaN;
  run = isNaN(ms) ? null : Object.freeze({ id, serial: m[1], day: `${m[2]}-${m[3]}-${m[4]}`, startMs: ms });
  if (ids.size > CACHE_MAX) ids.clear();
  ids.set(id, run);
  return run;
}

function dayOf(ms) {
  const d = new Date(ms);
  return `${d.getUTCFullYear()}-${pad(d.getUTCMonth() + 1)}-${pad(d.getUTCDate())}`;
}

function dayMs(day) {
  const m = DAY_RE.exec(day || "");
  return m ? utcMs(m[1], m[2], m[3]) : NaN;
}

function utcText(ms, seconds = true) {
  const d = new Date(ms);
  return `${dayOf(ms)} ${pad(d.getUTCHours())}:${pad(d.getUTCMinutes())}` + (seconds ? ":" + pad(d.getUTCSeconds()) : "");
}

function duration(ms) {
  if (ms === null || ms === undefined || isNaN(ms)) return "–";
  const s = Math.round(ms / 1000);
  if (s < 60) return s + " s";
  if (s < 3600) return Math.floor(s / 60) + " min " + pad(s % 60) + " s";
  return Math.floor(s / 3600) + " h " + pad(Math.floor(s / 60) % 60) + " min";
}

function ago(seconds) {
  if (seconds < 90) return Math.max(0, Math.round(seconds)) + " s ago";
  if (seconds < 5400) return Math.round(seconds / 60) + " min ago";
  return Math.round(seconds / 3600) + " h ago";
}

function percent(n, d) {
  return d > 0 ? (100 * n / d).toFixed(1) + " %" : "–";
}

// The serial as the station writes it into a run id: every byte that is not
// A-Z a-z 0-9 . _ - becomes "_", and a leading "." gets a "_" before it.
function fileSafe(s) {
  let out = "";
  for (const b of new TextEncoder().encode(s))
    out += (b >= 48 && b <= 57) || (b >= 65 && b <= 90) || (b >= 97 && b <= 122) || b === 46 || b === 95 || b === 45
      ? String.fromCharCode(b) : "_";
  return out === "" || out[0] === "." ? "_" + out : out;
}

function serverNow() {
  return isNaN(serverClock.date) ? Date.now() : serverClock.date + (performance.now() - serverClock.at);
}

// --- DOM: text and code-chosen attributes only ------------------------------

function el(tag, attrs, ...kids) {
  const e = document.createElement(tag);
  return fill(e, attrs, kids);
}

function svg(tag, attrs, ...kids) {
  return fill(document.createElementNS(SVG_NS, tag), attrs, kids);
}

function fill(e, attrs, kids) {
  for (const k in attrs || {}) if (attrs[k] !== null && attrs[k] !== undefined) e.setAttribute(k, String(attrs[k]));
  for (const k of kids) if (k !== null && k !== undefined && k !== false)
    e.appendChild(typeof k === "object" ? k : document.createTextNode(String(k)));
  return e;
}

function replace(parent, ...kids) {
  parent.replaceChildren(...kids.filter(k => k !== null && k !== undefined));
}

function boardLink(serial) {
  return SERIAL_RE.test(serial) ? el("a", { href: "#board?serial=" + encodeURIComponent(serial) }, serial) : serial;
}

// --- the server ---------------------------------------------------------------

async function getListing(url) {
  const r = await fetch(url, { cache: "no-store" });
  const date = Date.parse(r.headers.get("Date"));
  if (!isNaN(date)) serverClock = { date, at: performance.now() };
  if (r.status === 404) return [];  // a day or a board with nothing yet
  if (!r.ok) throw new Error(url + ": HTTP " + r.status);
  let data;
  try {
    data = await r.json();
  } catch (e) {
    throw new Error(url + ": not a listing");
  }
  if (!Array.isArray(data)) throw new Error(url + ": not a listing");
  const now = isNaN(date) ? Date.now() : date;
  return data.filter(isObj).map(e => ({
    name: typeof e.name === "string" ? e.name : "", type: e.type, size: e.size,
    // unsettled: fetched again next time, whatever the listing says
    key: now - Date.parse(e.mtime) >= SETTLE_MS ? e.mtime + "|" + e.size : null,
    mtime: Date.parse(e.mtime),
  }));
}

// Checked run summaries kept in the browser (IndexedDB) by path, time and
// size, so that a page reloaded on the line's TV does not fetch the day
// again. Without IndexedDB (a private window) everything still works.
const KEPT_DAYS = 8;
let kept = null;
const consulted = new Set(); // folders whose kept runs were read

// The store's name carries the summary's version: a page that keeps other
// fields starts a store of its own.
function openKept() {
  kept = new Promise(done => {
    setTimeout(() => done(null), 2000); // a browser that never answers: fetch as without it
    try {
      const rq = indexedDB.open("tessel-wall-runs-1", 1);
      rq.onupgradeneeded = () => rq.result.createObjectStore("runs", { keyPath: "path" }).createIndex("saved", "saved");
      rq.onsuccess = () => {
        const db = rq.result;
        const old = IDBKeyRange.upperBound(Date.now() - KEPT_DAYS * 86400e3);
        const cursor = db.transaction("runs", "readwrite").objectStore("runs").index("saved").openCursor(old);
        cursor.onsuccess = () => {
          if (cursor.result) {
            cursor.result.delete();
            cursor.result.continue();
          }
        };
        done(db);
      };
      rq.onerror = rq.onblocked = () => done(null);
    } catch (e) {
      done(null);
    }
  });
}

function keptIn(db, folder) {
  return new Promise(done => {
    try {
      const rq = db.transaction("runs").objectStore("runs").getAll(IDBKeyRange.bound(folder, folder + "\uffff"));
      rq.onsuccess = () => done(new Map(rq.result.map(e => [e.path, e])));
      rq.onerror = () => done(new Map());
    } catch (e) {
      done(new Map());
    }
  });
}

function keep(db, entries) {
  if (!db || !entries.length) return;
  try {
    const os = db.transaction("runs", "readwrite").objectStore("runs");
    const saved = Date.now();
    for (const [path, c] of entries) os.put({ path, key: c.key, value: c.value, saved });
  } catch (e) { /* the next reload fetches them */ }
}

// Fetches what is new or changed among items ({path, key}) and keeps its
// checked summary; a network failure keeps the older one and says so.
// progress(done, all) is called now and then while many files come.
async function load(items, check, progress) {
  let todo = items.filter(it => {
    const c = store.get(it.path);
    if (c) c.seen = stats.polls;
    return !c || c.key === null || c.key !== it.key;
  });
  const db = check === checkRun && kept ? await kept : null;
  const folderOf = it => it.path.slice(0, it.path.lastIndexOf("/") + 1);
  // once per folder and page: later, only new files are missing
  const folders = new Map();
  if (db) for (const it of todo) if (!consulted.has(folderOf(it))) folders.set(folderOf(it), null);
  if (folders.size) {
    for (const f of folders.keys()) {
      folders.set(f, await keptIn(db, f));
      consulted.add(f);
    }
    todo = todo.filter(it => {
      const k = folders.has(folderOf(it)) ? folders.get(folderOf(it)).get(it.path) : null;
      if (!k || it.key === null || k.key !== it.key || store.has(it.path)) return true;
      store.set(it.path, { key: k.key, value: k.value, seen: stats.polls });
      loads++;
      return false;
    });
  }
  let next = 0, failure = null, shown = performance.now();
  const fresh = [];
  const worker = async () => {
    while (next < todo.length) {
      const it = todo[next++];
      let value = null;
      try {
        const r = await fetch(it.path, { cache: "no-store" });
        if (r.ok) {
          try { value = check(JSON.parse(await r.text()), it) || null; } catch (e) { value = null; }
        }
      } catch (e) {
        failure = e;
        continue;
      }
      const c = { key: it.key, value, seen: stats.polls };
      store.set(it.path, c);
      if (it.key !== null) fresh.push([it.path, c]);
      loads++;
      stats.fetched++;
      if (progress && performance.now() - shown > 700 && next < todo.length) {
        progress(next, todo.length);
        shown = performance.now();
      }
    }
  };
  await Promise.all(Array.from({ length: Math.min(FETCHES, todo.length) }, worker));
  keep(db, fresh);
  if (failure) throw new Error("the line's server does not answer (" + failure.message + ")");
}

function forget() {
  if (store.size <= CACHE_MAX) return;
  for (const [path, c] of store) if (c.seen < stats.polls) store.delete(path);
}

// Run files of a listing: "<run id>.json" of the folder's kind; the JUnit
// files and day folders are not read here. Anything else is unreadable.
function runItems(entries, folder, want, bad, src) {
  const items = [];
  for (const e of entries) {
    if (e.type === "directory" || (e.type === "file" && e.name.endsWith(".xml"))) continue;
    const run = e.name.endsWith(".json") ? parseId(e.name.slice(0, -5)) : null;
    if (!run || e.type !== "file") {
      bad.push(folder + e.name);
      continue;
    }
    if (!want(run)) continue;
    items.push({ id: run.id, serial: run.serial, day: run.day, startMs: run.startMs,
      path: folder + encodeURIComponent(e.name), key: e.key, mtime: e.mtime, src });
  }
  return items;
}

function unique(items) {
  const byId = new Map();
  for (const it of items) if (!byId.has(it.id)) byId.set(it.id, it);
  return [...byId.values()];
}

function checkRun(doc, it) {
  if (!isObj(doc) || doc.schema_version !== 1) return null;
  const { run, board, tests, totals, station } = doc;
  if (!isObj(run) || run.id !== it.id || isNaN(isoMs(run.updated)) ||
      !(run.closed === null || !isNaN(isoMs(run.closed)))) return null;
  if (!isObj(board) || !isText(board.serial_number) || !isText(board.hostname) ||
      fileSafe(board.serial_number) !== it.serial) return null;
  if (!Array.isArray(tests) || tests.length > LINES || !isObj(totals) || !TOTALS.every(k => isCount(totals[k])))
    return null;
  const out = [];
  for (const t of tests) {
    if (!isObj(t) || !Number.isInteger(t.line) || t.line < 1 || t.line > LINES ||
        (out.length && t.line <= out[out.length - 1].line)) return null;
    if (!isText(t.name) || !Object.prototype.hasOwnProperty.call(OUTCOME_CLASS, t.outcome) ||
        !(t.status_line === null || typeof t.status_line === "string") ||
        !Number.isInteger(t.attempts) || t.attempts < 1 || !isCount(t.duration_ms)) return null;
    const start = isoMs(t.start), end = isoMs(t.end);
    if (isNaN(start) || isNaN(end)) return null;
    out.push({ line: t.line, name: t.name, outcome: t.outcome, attempts: t.attempts, ms: t.duration_ms,
      verdict: t.status_line, start, end });
  }
  const complete = out.length === LINES;
  const passed = complete && out.every(t => t.outcome === "passed");
  return {
    id: it.id, serial: it.serial, day: it.day, startMs: it.startMs, src: it.src,
    updated: isoMs(run.updated), closed: run.closed === null ? null : isoMs(run.closed),
    // the station's configured id where the record has it; older records only name the host
    station: isObj(station) && typeof station.id === "string" && STATION_RE.test(station.id) ? station.id : board.hostname,
    serialText: board.serial_number, tests: out, passed,
    firstTime: passed && out.every(t => t.attempts === 1),
    span: complete ? Math.max(...out.map(t => t.end)) - Math.min(...out.map(t => t.start)) : null,
  };
}

function checkBeat(doc) {
  if (!isObj(doc) || typeof doc.state !== "string" || doc.state.length > 256 || !Array.isArray(doc.verdicts)) return null;
  const board = doc.board === undefined || doc.board === null ? {} : doc.board;
  if (!isObj(board) || !(board.serial_number === undefined || typeof board.serial_number === "string") ||
      !(board.model === undefined || typeof board.model === "string")) return null;
  const outbox = doc.outbox === undefined ? 0 : doc.outbox;
  const hb = doc.heartbeat_s === undefined ? 5 : doc.heartbeat_s;
  if (!isCount(outbox) || typeof hb !== "number" || !(hb > 0 && hb < 3600)) return null;
  if (!(doc.upload_error === undefined || doc.upload_error === null || typeof doc.upload_error === "string")) return null;
  if (!(doc.run_id === undefined || doc.run_id === null || typeof doc.run_id === "string")) return null;
  const verdicts = [];
  for (const v of doc.verdicts) {
    if (!isObj(v) || !Number.isInteger(v.line) || v.line < 1 || v.line > LINES ||
        !(v.verdict === null || v.verdict === undefined || typeof v.verdict === "string") ||
        !Object.prototype.hasOwnProperty.call(OUTCOME_CLASS, v.outcome)) return null;
    verdicts[v.line] = { verdict: v.verdict ?? null, outcome: v.outcome };
  }
  return { state: doc.state, serial: board.serial_number || "?", model: board.model || "", outbox, hb,
    uploadError: doc.upload_error || null, runId: doc.run_id || null, verdicts };
}

function showUnreadable(paths) {
  const box = document.getElementById("unreadable");
  box.hidden = paths.length === 0;
  const shown = paths.slice(0, 5).join(", ") + (paths.length > 5 ? ", …" : "");
  box.textContent = paths.length ? plural(paths.length, "file", "files") + " could not be read: " + shown : "";
  box.dataset.count = paths.length;
}

function unreadableOf(items, bad) {
  return bad.concat(items.filter(it => store.has(it.path) && store.get(it.path).value === null)
    .map(it => decodeURIComponent(it.path)));
}

function values(items) {
  return items.map(it => store.get(it.path)).filter(c => c && c.value).map(c => c.value);
}

// --- the view in the fragment ---------------------------------------------------

function route() {
  const [name, query] = location.hash.replace(/^#/, "").split("?");
  const q = new URLSearchParams(query || "");
  const view = name === "yield" || name === "board" ? name : "stations";
  const hours = Number(q.get("hours"));
  return {
    view,
    day: isNaN(dayMs(q.get("day"))) ? null : q.get("day"),
    hours: Number.isInteger(hours) && hours >= 1 && hours <= 168 ? hours : null,
    serial: q.get("serial") || "",
  };
}

// --- Stations ---------------------------------------------------------------------

function tileData(id, beat, age) {
  const stopped = beat.state === "stopped";
  const lost = !stopped && age > MISSED_BEATS * beat.hb;
  const outcomes = [];
  const cells = [];
  for (let line = 1; line <= LINES; line++) {
    const v = beat.verdicts[line] || { verdict: null, outcome: "not run" };
    outcomes.push(v.outcome);
    cells.push([v.outcome, `${line}: ${v.verdict ?? "(no status line)"} (${v.outcome})`]);
  }
  let look = "";
  if (stopped) look = "stopped";
  else if (lost) look = "lost";
  else if (beat.state.startsWith("running")) look = "s-running";
  else if (outcomes.some(o => o === "failed" || o === "timed out" || o === "not recorded")) look = "s-failed";
  else if (outcomes.every(o => o === "passed" || o === "warning")) look = "s-passed";
  return {
    id, look, model: beat.model, serial: beat.serial, cells, outbox: beat.outbox, uploadError: beat.uploadError,
    state: lost ? "no contact" : beat.state,
    stateClass: lost ? "state" : "state " + beat.state.split(" ")[0].replace(/[^a-z]/g, ""),
    age: (lost || stopped ? "last heartbeat " : "heartbeat ") + ago(age),
  };
}

function tileElement(d) {
  return el("div", { class: "tile " + d.look, "data-station": d.id, title: d.model },
    el("div", { class: "top" }, el("span", { class: "id" }, d.id), el("span", { class: d.stateClass }, d.state)),
    el("div", { class: "serial" }, d.serial),
    el("div", { class: "cells" }, ...d.cells.map(([o, tip], i) =>
      el("span", { class: OUTCOME_CLASS[o], "data-outcome": o, title: tip }, i + 1))),
    el("div", { class: "foot" }, el("span", { class: "age" }, d.age),
      el("span", { class: d.outbox ? "waiting" : null, title: d.uploadError ? "last upload failure: " + d.uploadError : null },
        "outbox " + d.outbox)));
}

async function pollStations() {
  const today = dayOf(serverNow());
  const [listing, dayList, flat] = await Promise.all([
    getListing("stations/"), getListing("runs/" + today + "/"), getListing("runs/")]);
  const now = serverNow();
  const bad = [];
  const beats = [];
  for (const e of listing) {
    if (e.type === "directory") continue;
    const id = e.name.endsWith(".json") ? e.name.slice(0, -5) : "";
    if (!STATION_RE.test(id) || e.type !== "file") bad.push("stations/" + e.name);
    else beats.push({ path: "stations/" + encodeURIComponent(e.name), key: e.key, id, mtime: e.mtime });
  }
  const runs = unique(runItems(dayList, "runs/" + today + "/", r => r.day === today, bad, "day")
    .concat(runItems(flat, "runs/", r => r.day === today, bad, "flat")))
    .sort((a, b) => b.mtime - a.mtime || (b.id < a.id ? -1 : 1)).slice(0, RUNS_SHOWN);
  await Promise.all([load(beats, checkBeat), load(runs, checkRun)]);
  showUnreadable(unreadableOf(beats.concat(runs), bad));

  const root = document.getElementById("stations");
  const shown = [];
  for (const it of beats) {
    const c = store.get(it.path);
    if (!c || !c.value) continue;
    const d = tileData(it.id, c.value, (now - it.mtime) / 1000);
    const sig = JSON.stringify(d);
    let t = tiles.get(it.id);
    if (!t) tiles.set(it.id, t = { el: null, sig: "" });
    if (t.sig !== sig) {
      const fresh = tileElement(d);
      if (t.el) t.el.replaceWith(fresh);
      t.el = fresh;
      t.sig = sig;
    }
    t.d = d;
    t.beat = c.value;
    t.stationId = it.id;
    shown.push(t);
  }
  shown.sort((a, b) => a.stationId.localeCompare(b.stationId, undefined, { numeric: true }));
  const keep = new Set(shown.map(t => t.el));
  for (const child of [...root.children]) if (!keep.has(child)) child.remove();
  for (const [id, t] of tiles) if (!keep.has(t.el)) tiles.delete(id);
  shown.forEach((t, i) => { if (root.children[i] !== t.el) root.insertBefore(t.el, root.children[i] || null); });

  const live = shown.filter(t => t.d.look !== "lost" && t.d.look !== "stopped");
  const waiting = shown.reduce((n, t) => n + t.beat.outbox, 0);
  replace(document.getElementById("summary"),
    el("b", null, shown.length), shown.length === 1 ? " station · " : " stations · ",
    el("b", null, live.filter(t => t.beat.state.startsWith("running")).length), " running · ",
    el("b", null, live.filter(t => t.d.look === "s-failed").length), " with failures · ",
    el("b", null, shown.filter(t => t.d.look === "stopped").length), " stopped · ",
    el("b", null, shown.filter(t => t.d.look === "lost").length), " no contact · ",
    el("b", null, waiting), (waiting === 1 ? " run" : " runs") + " waiting to be sent");

  // the station whose heartbeat names the run, else the one with the board, else its host name
  const byRun = new Map(), bySerial = new Map();
  for (const t of shown) {
    if (t.beat.runId) byRun.set(t.beat.runId, t.stationId);
    bySerial.set(t.beat.serial, t.stationId);
  }
  const rows = values(runs).map(r => {
    const failed = r.tests.filter(t => t.outcome === "failed" || t.outcome === "timed out" || t.outcome === "not recorded").length;
    return el("tr", { "data-run": r.id },
      el("td", null, byRun.get(r.id) || bySerial.get(r.serialText) || r.station),
      el("td", null, boardLink(r.serial)),
      el("td", null, utcText(r.startMs), r.closed === null ? el("span", { class: "open" }, "open") : null),
      el("td", { class: "n" }, r.tests.filter(t => t.outcome === "passed").length),
      el("td", { class: failed ? "n bad" : "n" }, failed),
      el("td", null, el("a", { href: runPath(r, "json") }, r.id + ".json")));
  });
  replace(document.querySelector("#runs tbody"),
    ...(rows.length ? rows : [el("tr", null, el("td", { colspan: 6 }, "No run on the server today yet."))]));
}

// Where a run's files are: only ever built from a checked id.
function runPath(r, ext) {
  if (!parseId(r.id)) return null;
  const name = encodeURIComponent(r.id) + "." + ext;
  if (r.src === "flat") return "runs/" + name;
  if (r.src === "board" && ext === "json") return "boards/" + encodeURIComponent(r.serial) + "/" + name;
  return "runs/" + r.day + "/" + name;
}

// --- Yield ----------------------------------------------------------------------------

function yieldWindow(r) {
  if (r.hours) {
    const end = serverNow();
    return { start: end - r.hours * 3600e3, end, label: "the last " + plural(r.hours, "hour", "hours"),
      file: "last-" + r.hours + "h-to-" + dayOf(end), hours: r.hours };
  }
  const day = r.day || dayOf(serverNow());
  const start = dayMs(day);
  return { start, end: start + 86400e3, label: day + " (UTC)", file: day, day };
}

// Percentile by nearest rank: the smallest value with at least p of all at or below it.
function nearestRank(sorted, p) {
  return sorted.length ? sorted[Math.ceil(p * sorted.length) - 1] : null;
}

function median(sorted) {
  const n = sorted.length;
  return n === 0 ? null : n % 2 ? sorted[(n - 1) / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

function figures(runs, win) {
  const boards = new Map();
  for (const r of runs) {
    if (!boards.has(r.serial)) boards.set(r.serial, []);
    boards.get(r.serial).push(r);
  }
  const f = { runs: runs.length, tested: boards.size, firstPass: 0, laterAttempt: 0, retestPass: 0, final: 0,
    retested: 0, pareto: new Map(), stations: new Map(), hours: [], notFirst: [] };
  const hour0 = Math.floor(win.start / 3600e3);
  const nHours = Math.ceil(win.end / 3600e3) - hour0;
  for (let i = 0; i < nHours; i++) f.hours.push({ hour: (hour0 + i) * 3600e3, boards: 0 });
  const station = name => {
    if (!f.stations.has(name)) f.stations.set(name, { name, runs: 0, boards: new Set(), firsts: 0, firstPass: 0, spans: [] });
    return f.stations.get(name);
  };
  for (const [serial, list] of boards) {
    list.sort((a, b) => a.startMs - b.startMs || (a.id < b.id ? -1 : 1));
    const first = list[0], last = list[list.length - 1];
    let how = "first pass";
    if (first.firstTime) f.firstPass++;
    else if (first.passed) { f.laterAttempt++; how = "passed at a later attempt"; }
    else if (last.passed) { f.retestPass++; how = "passed on a retest"; }
    else how = "not passed";
    if (last.passed) f.final++;
    if (list.length > 1) f.retested++;
    if (how !== "first pass") f.notFirst.push({ serial, how, runs: list.length, last });
    for (let line = 1; line <= LINES; line++) {
      const t = first.tests.find(x => x.line === line);
      if (t && t.outcome === "passed" && t.attempts === 1) continue;
      const p = f.pareto.get(line) || { line, name: t ? t.name : NAMES[line - 1], boards: 0 };
      p.boards++;
      f.pareto.set(line, p);
    }
    const s = station(first.station);
    s.firsts++;
    if (first.firstTime) s.firstPass++;
    const h = Math.floor(first.startMs / 3600e3) - hour0;
    if (h >= 0 && h < nHours) f.hours[h].boards++;
  }
  for (const r of runs) {
    const s = station(r.station);
    s.runs++;
    s.boards.add(r.serial);
    if (r.span !== null) s.spans.push(r.span);
  }
  f.pareto = [...f.pareto.values()].sort((a, b) => b.boards - a.boards || a.line - b.line);
  const total = f.pareto.reduce((n, p) => n + p.boards, 0);
  let cum = 0;
  for (const p of f.pareto) {
    cum += p.boards;
    p.share = p.boards / total;
    p.cumulative = cum / total;
  }
  f.stations = [...f.stations.values()].sort((a, b) => a.name.localeCompare(b.name, undefined, { numeric: true }));
  for (const s of f.stations) {
    s.spans.sort((a, b) => a - b);
    s.median = median(s.spans);
    s.p95 = nearestRank(s.spans, 0.95);
  }
  f.notFirst.sort((a, b) => b.last.startMs - a.last.startMs);
  return f;
}

function kpi(figure, label, value, detail) {
  return el("div", { class: "kpi", "data-figure": figure }, el("div", { class: "label" }, label),
    el("div", { class: "value" }, value), el("div", { class: "detail" }, detail));
}

function drawYield(f, win, reading) {
  document.getElementById("yield-window").textContent = win.label + ": " + plural(f.runs, "run", "runs") +
    (reading ? " · " + reading : "");
  document.getElementById("view-yield").classList.toggle("reading", !!reading);
  const of = n => n + " of " + plural(f.tested, "board", "boards");
  replace(document.getElementById("kpis"),
    kpi("tested", "Boards tested", f.tested, plural(f.runs, "run", "runs")),
    kpi("first-pass", "First-pass yield", percent(f.firstPass, f.tested), of(f.firstPass)),
    kpi("final", "Final yield", percent(f.final, f.tested), of(f.final)),
    kpi("retest", "Retest rate", percent(f.retested, f.tested), of(f.retested) + " with more than one run"),
    kpi("later-attempt", "Passed at a later attempt", f.laterAttempt, "a line passed only when tried again"),
    kpi("retest-pass", "Passed on a retest", f.retestPass, "failed first, a later run passed"),
    kpi("not-passed", "Not passed", f.tested - f.final, "the latest run did not pass"));

  replace(document.querySelector("#pareto tbody"), ...(f.pareto.length ? f.pareto.map(p =>
    el("tr", { "data-line": p.line }, el("td", null, p.line), el("td", null, p.name),
      el("td", { class: "n" }, p.boards), el("td", { class: "n" }, (100 * p.share).toFixed(1) + " %"),
      el("td", { class: "n" }, (100 * p.cumulative).toFixed(1) + " %"))) :
    [el("tr", null, el("td", { colspan: 5 }, "No status line failed at its first attempt."))]));
  replace(document.getElementById("pareto-chart"), f.pareto.length ? paretoChart(f.pareto) : null);

  replace(document.querySelector("#per-station tbody"), ...(f.stations.length ? f.stations.map(s =>
    el("tr", { "data-station": s.name }, el("td", null, s.name), el("td", { class: "n" }, s.runs),
      el("td", { class: "n" }, s.boards.size),
      el("td", { class: "n", "data-first-pass": s.firstPass, "data-firsts": s.firsts },
        percent(s.firstPass, s.firsts), el("span", { class: "of" }, " " + s.firstPass + "/" + s.firsts)),
      el("td", { class: "n", "data-ms": s.median ?? "" }, duration(s.median)),
      el("td", { class: "n", "data-ms": s.p95 ?? "" }, duration(s.p95)))) :
    [el("tr", null, el("td", { colspan: 6 }, "No run in this window."))]));

  replace(document.getElementById("hours-chart"), hoursChart(f.hours));
  replace(document.querySelector("#not-first tbody"), ...f.notFirst.slice(0, 40).map(b =>
    el("tr", { "data-serial": b.serial }, el("td", null, boardLink(b.serial)), el("td", null, b.how),
      el("td", { class: "n" }, b.runs), el("td", null, b.last.station))));
  document.getElementById("not-first-count").textContent =
    f.notFirst.length > 40 ? "(the newest 40 of " + f.notFirst.length + ")" : "";
}

function paretoChart(pareto) {
  const W = 640, H = 280, L = 44, R = 48, T = 14, B = 78;
  const n = pareto.length, bw = (W - L - R) / n, top = Math.max(...pareto.map(p => p.boards));
  const y = v => T + (H - T - B) * (1 - v / top), yc = c => T + (H - T - B) * (1 - c);
  const g = svg("svg", { viewBox: `0 0 ${W} ${H}`, class: "pareto", role: "img",
    "aria-label": "Status lines failed at their first attempt, most first, with the cumulative share" });
  for (const frac of [0, 0.5, 1]) {
    g.appendChild(svg("line", { x1: L, x2: W - R, y1: yc(frac), y2: yc(frac), class: "rule" }));
    g.appendChild(svg("text", { x: W - R + 6, y: yc(frac) + 4, class: "axis" }, Math.round(frac * 100) + " %"));
  }
  g.appendChild(svg("text", { x: L - 6, y: y(top) + 4, class: "axis end" }, top));
  g.appendChild(svg("text", { x: L - 6, y: y(0) + 4, class: "axis end" }, 0));
  const pts = [];
  pareto.forEach((p, i) => {
    const x = L + i * bw;
    g.appendChild(svg("rect", { x: x + bw * 0.15, width: bw * 0.7, y: y(p.boards), height: y(0) - y(p.boards), class: "bar" },
      svg("title", null, `${p.line} ${p.name}: ${p.boards}`)));
    g.appendChild(svg("text", { x: x + bw / 2, y: y(p.boards) - 4, class: "value mid" }, p.boards));
    g.appendChild(svg("text", { x: x + bw / 2, y: H - B + 14, class: "label end",
      transform: `rotate(-35 ${x + bw / 2} ${H - B + 14})` }, p.name));
    pts.push(`${x + bw / 2},${yc(p.cumulative)}`);
  });
  g.appendChild(svg("polyline", { points: pts.join(" "), class: "cumulative" }));
  for (const pt of pts) {
    const [cx, cy] = pt.split(",");
    g.appendChild(svg("circle", { cx, cy, r: 3.5, class: "cumulative-dot" }));
  }
  return g;
}

function hoursChart(hours) {
  const W = 960, H = 190, L = 10, R = 10, T = 22, B = 24;
  const n = hours.length, bw = (W - L - R) / n, top = Math.max(1, ...hours.map(h => h.boards));
  const g = svg("svg", { viewBox: `0 0 ${W} ${H}`, class: "hours", role: "img", "aria-label": "Boards per hour, UTC" });
  g.appendChild(svg("line", { x1: L, x2: W - R, y1: H - B, y2: H - B, class: "rule" }));
  const every = Math.ceil(n / 24);
  hours.forEach((h, i) => {
    const x = L + i * bw, bh = (H - T - B) * h.boards / top;
    const hour = pad(new Date(h.hour).getUTCHours());
    if (h.boards) {
      g.appendChild(svg("rect", { x: x + bw * 0.12, width: bw * 0.76, y: H - B - bh, height: bh, class: "bar",
        "data-hour": h.hour, "data-boards": h.boards }, svg("title", null, `${utcText(h.hour, false)} UTC: ${h.boards}`)));
      g.appendChild(svg("text", { x: x + bw / 2, y: H - B - bh - 5, class: "value mid" }, h.boards));
    }
    if (i % every === 0) g.appendChild(svg("text", { x: x + bw / 2, y: H - 7, class: "axis mid" }, hour));
  });
  return g;
}

async function pollYield(r) {
  const win = yieldWindow(r);
  const days = [];
  for (let d = dayMs(dayOf(win.start)); d < win.end; d += 86400e3) days.push(dayOf(d));
  const lists = await Promise.all(days.map(d => getListing("runs/" + d + "/")).concat([getListing("runs/")]));
  const bad = [];
  const inWindow = run => run.startMs >= win.start && run.startMs < win.end;
  let items = [];
  days.forEach((d, i) => {
    // a file in another day's folder is not where it belongs
    items = items.concat(runItems(lists[i], "runs/" + d + "/", run => {
      if (run.day !== d) bad.push("runs/" + d + "/" + run.id + ".json");
      return run.day === d && inWindow(run);
    }, bad, "day"));
  });
  items = unique(items.concat(runItems(lists[days.length], "runs/", inWindow, bad, "flat")));
  await load(items, checkRun, (done, all) => {
    drawYield(figures(values(items), win), win, "reading the runs: " + done + " of " + all + " files…");
    if (stats.firstPaintMs === null) stats.firstPaintMs = performance.now();
    drawn = "";
  });
  const unreadable = unreadableOf(items, bad);
  showUnreadable(unreadable);
  const sig = [win.file, win.hours ? Math.floor(win.end / 60e3) : "", items.length, loads, unreadable.length].join("|");
  if (sig === drawn) return;
  const runs = values(items);
  lastYield = { runs, win };
  drawYield(figures(runs, win), win, "");
  drawn = sig;
}

function csvCell(v) {
  let s = String(v ?? "");
  // a spreadsheet runs a cell that starts like a formula
  if (/^[=+\-@\t\r]/.test(s)) s = "'" + s;
  return /[",\r\n]/.test(s) ? '"' + s.replace(/"/g, '""') + '"' : s;
}

function csvText(runs) {
  const rows = [["day", "station", "serial", "run id", "line", "test", "outcome", "attempts", "duration ms", "verdict"]];
  const sorted = runs.slice().sort((a, b) => a.startMs - b.startMs || (a.id < b.id ? -1 : 1));
  for (const r of sorted)
    for (const t of r.tests)
      rows.push([r.day, r.station, r.serial, r.id, t.line, t.name, t.outcome, t.attempts, t.ms, t.verdict ?? ""]);
  return "\uFEFF" + rows.map(row => row.map(csvCell).join(",")).join("\r\n") + "\r\n";
}

function downloadCsv() {
  if (!lastYield) return;
  const url = URL.createObjectURL(new Blob([csvText(lastYield.runs)], { type: "text/csv;charset=utf-8" }));
  const a = el("a", { href: url, download: "tessel-" + lastYield.win.file + ".csv", hidden: "" });
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

// --- Board ------------------------------------------------------------------------------

function runCard(r) {
  const state = r.passed ? "passed" : r.closed === null ? "open" : "not passed";
  const byLine = new Map(r.tests.map(t => [t.line, t]));
  const cells = [];
  for (let line = 1; line <= LINES; line++) {
    const t = byLine.get(line);
    const tip = t ? `${line} ${t.name}: ${t.verdict ?? "(status line unreadable)"} (${t.outcome}, ` +
      plural(t.attempts, "attempt", "attempts") + ")" : `${line} ${NAMES[line - 1]}: no result`;
    cells.push(el("span", { class: t ? OUTCOME_CLASS[t.outcome] : "o-none", "data-outcome": t ? t.outcome : "",
      "data-attempts": t ? t.attempts : 0, title: tip },
      line + " " + (t ? t.name : NAMES[line - 1]), t && t.attempts > 1 ? el("sup", null, "×" + t.attempts) : null));
  }
  // what the lines that did not pass said
  const said = [];
  for (let line = 1; line <= LINES; line++) {
    const t = byLine.get(line);
    if (t && t.outcome === "passed" && t.attempts === 1) continue;
    said.push(el("li", null, el("b", null, line + " " + (t ? t.name : NAMES[line - 1])), ": ",
      t ? (t.verdict ?? "(status line unreadable)") + " (" + t.outcome + ", " + plural(t.attempts, "attempt", "attempts") + ")"
        : "no result in this run"));
  }
  return el("article", { class: "run-card v-" + state.replace(" ", "-"), "data-run": r.id },
    el("div", { class: "head" },
      el("span", { class: "verdict" }, r.passed ? (r.firstTime ? "passed" : "passed, lines retried") : state),
      el("span", { class: "rid" }, r.id),
      el("span", { class: "links" }, el("a", { href: runPath(r, "json") }, "JSON"), " ",
        el("a", { href: runPath(r, "xml") }, "XML"))),
    el("div", { class: "meta" },
      el("span", null, "station ", el("b", null, r.station)),
      el("span", null, "started ", el("b", null, utcText(r.startMs)), " UTC"),
      el("span", null, r.closed === null ? "updated " : "closed ", el("b", null, utcText(r.closed ?? r.updated)), " UTC"),
      el("span", null, "Run all ", el("b", null, duration(r.span))),
      el("span", null, el("b", null, r.tests.filter(t => t.outcome === "passed").length), " of " + LINES + " passed")),
    el("div", { class: "cells big" }, ...cells),
    said.length ? el("ul", { class: "said" }, ...said) : null);
}

async function pollBoard(r) {
  const out = document.getElementById("board-runs");
  const summary = document.getElementById("board-summary");
  if (!r.serial) {
    showUnreadable([]);
    summary.textContent = "";
    replace(out, el("p", { class: "hint" }, "Scan a board's serial or type it, then Show."));
    drawn = "";
    return;
  }
  if (!SERIAL_RE.test(r.serial)) {
    showUnreadable([]);
    summary.textContent = "";
    replace(out, el("p", { class: "hint" }, "Not a serial as run ids carry it (A-Z a-z 0-9 . _ -)."));
    drawn = "";
    return;
  }
  const folder = "boards/" + encodeURIComponent(r.serial) + "/";
  const [mine, flat] = await Promise.all([getListing(folder), getListing("runs/")]);
  const bad = [];
  const items = unique(runItems(mine, folder, run => {
    if (run.serial !== r.serial) bad.push(folder + run.id + ".json");
    return run.serial === r.serial;
  }, bad, "board").concat(runItems(flat, "runs/", run => run.serial === r.serial, bad, "flat")));
  await load(items, checkRun);
  const unreadable = unreadableOf(items, bad);
  showUnreadable(unreadable);
  const sig = ["board", r.serial, items.length, loads, unreadable.length].join("|");
  if (sig === drawn) return;
  const runs = values(items).sort((a, b) => b.startMs - a.startMs || (b.id < a.id ? -1 : 1));
  summary.textContent = runs.length ? plural(runs.length, "run", "runs") + " of " + r.serial +
    ", the latest " + (runs[0].passed ? "passed" : "did not pass") : "";
  replace(out, ...(runs.length ? runs.map(runCard) : [el("p", { class: "hint" }, "No run of " + r.serial + " on the server.")]));
  drawn = sig;
}

// --- the loop -------------------------------------------------------------------------------

let timer = null, busy = false, again = false, shownView = "";

function showView(r) {
  const entered = shownView !== r.view;
  if (entered) drawn = "";
  shownView = r.view;
  stats.view = r.view;
  for (const s of document.querySelectorAll("main > section")) s.hidden = s.dataset.view !== r.view;
  for (const a of document.querySelectorAll("nav a")) {
    if (a.dataset.view === r.view) a.setAttribute("aria-current", "page");
    else a.removeAttribute("aria-current");
  }
  document.getElementById("summary").hidden = r.view !== "stations";
  if (r.view === "yield") {
    document.getElementById("yield-day").value = r.day || dayOf(serverNow());
    document.getElementById("yield-hours").value = r.hours ? String(r.hours) : "";
  }
  const field = document.getElementById("board-serial");
  if (r.view === "board" && document.activeElement !== field) field.value = r.serial;
  if (r.view === "board" && entered) {
    // ready for the scanner: its next serial replaces this one
    field.focus();
    field.select();
  }
}

async function poll() {
  if (busy) {
    again = true;
    return;
  }
  busy = true;
  clearTimeout(timer);
  const r = route();
  const hash = location.hash;
  showView(r);
  const t0 = performance.now(), fetched0 = stats.fetched;
  const problem = document.getElementById("problem");
  try {
    if (r.view === "yield") await pollYield(r);
    else if (r.view === "board") await pollBoard(r);
    else await pollStations();
    problem.hidden = true;
    if (stats.fullPaintMs === null) {
      await new Promise(done => requestAnimationFrame(() => setTimeout(done, 0)));
      stats.fullPaintMs = performance.now();
      if (stats.firstPaintMs === null) stats.firstPaintMs = stats.fullPaintMs;
    }
  } catch (e) {
    problem.textContent = "The line's server does not answer: " + e.message;
    problem.hidden = false;
  }
  forget();
  stats.lastPollMs = performance.now() - t0;
  stats.pollMs.push(stats.lastPollMs);
  stats.pollFetched.push(stats.fetched - fetched0);
  if (stats.pollMs.length > 100) stats.pollMs.shift(), stats.pollFetched.shift();
  stats.hash = hash;
  stats.polls++;
  busy = false;
  if (again) {
    again = false;
    poll();
  } else {
    timer = setTimeout(poll, POLL_MS[r.view]);
  }
}

openKept();
window.addEventListener("hashchange", poll);
document.getElementById("yield-day").addEventListener("change", e => {
  if (!isNaN(dayMs(e.target.value))) location.hash = "#yield?day=" + e.target.value;
});
document.getElementById("yield-hours").addEventListener("change", e => {
  location.hash = e.target.value ? "#yield?hours=" + e.target.value : "#yield?day=" + dayOf(serverNow());
});
document.getElementById("yield-form").addEventListener("submit", e => e.preventDefault());
document.getElementById("csv").addEventListener("click", downloadCsv);
document.getElementById("board-form").addEventListener("submit", e => {
  e.preventDefault();
  const field = document.getElementById("board-serial");
  const typed = field.value.trim();
  field.select();
  location.hash = typed ? "#board?serial=" + encodeURIComponent(fileSafe(typed)) : "#board";
});

poll();
