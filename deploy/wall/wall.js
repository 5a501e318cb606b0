// The line's wall: every station's heartbeat (stations/) and the newest runs
// (runs/), read through nginx's JSON directory listing and polled every 2 s.
// Ages are the server's own: the listing's Date header against each file's
// modification time, so the boards' and this browser's clocks do not matter.
"use strict";

const POLL_MS = 2000;
const RUNS_SHOWN = 50;
const MISSED_BEATS = 3; // heartbeats missed before a tile says "no contact"
const OUTCOME_CLASS = {
  "passed": "o-passed", "failed": "o-failed", "timed out": "o-timed-out",
  "warning": "o-warning", "not recorded": "o-not-recorded", "not run": "o-not-run",
};

const tiles = new Map();    // station id -> {el, html}
const runCache = new Map(); // run file name -> {key, record}
const stats = window.wallStats = { polls: 0, lastPollMs: 0, pollMs: [] };

function esc(s) {
  return String(s ?? "").replace(/[&<>"']/g, c => ({ "&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;", "'": "&#39;" })[c]);
}

async function fetchJSON(url) {
  // "no-cache": always asked again, answered 304 when unchanged
  const r = await fetch(url, { cache: "no-cache" });
  if (!r.ok) throw new Error(url + ": HTTP " + r.status);
  return { data: await r.json(), date: Date.parse(r.headers.get("Date")) };
}

function ago(seconds) {
  if (seconds < 90) return Math.max(0, Math.round(seconds)) + " s ago";
  if (seconds < 5400) return Math.round(seconds / 60) + " min ago";
  return Math.round(seconds / 3600) + " h ago";
}

function localTime(iso) {
  const d = new Date(iso);
  if (isNaN(d)) return "?";
  const p = n => String(n).padStart(2, "0");
  return `${d.getFullYear()}-${p(d.getMonth() + 1)}-${p(d.getDate())} ${p(d.getHours())}:${p(d.getMinutes())}:${p(d.getSeconds())}`;
}

function tileHTML(id, beat, age) {
  const hb = Number(beat.heartbeat_s) > 0 ? Number(beat.heartbeat_s) : 5;
  const lost = age > MISSED_BEATS * hb;
  const verdicts = Array.isArray(beat.verdicts) ? beat.verdicts : [];
  const outcomes = verdicts.map(v => v.outcome);
  const state = String(beat.state || "?");
  let cls = "tile";
  if (lost) cls += " lost";
  else if (state.startsWith("running")) cls += " s-running";
  else if (outcomes.some(o => o === "failed" || o === "timed out" || o === "not recorded")) cls += " s-failed";
  else if (outcomes.length === 15 && outcomes.every(o => o === "passed" || o === "warning")) cls += " s-passed";
  const stateCls = lost ? "state" : "state " + state.split(" ")[0];
  const cells = [];
  for (let line = 1; line <= 15; line++) {
    const v = verdicts.find(x => x.line === line) || {};
    const outcome = v.outcome || "not run";
    const tip = `${line}: ${v.verdict ?? "(no status line)"} (${outcome})`;
    cells.push(`<span class="${OUTCOME_CLASS[outcome] || "o-not-run"}" data-outcome="${esc(outcome)}" title="${esc(tip)}">${line}</span>`);
  }
  const waiting = Number(beat.outbox) || 0;
  const upTip = beat.upload_error ? ` title="${esc("last upload failure: " + beat.upload_error)}"` : "";
  return `<div class="${cls}" data-station="${esc(id)}" title="${esc((beat.board && beat.board.model) || "")}">` +
    `<div class="top"><span class="id">${esc(id)}</span><span class="${esc(stateCls)}">${esc(lost ? "no contact" : state)}</span></div>` +
    `<div class="serial">${esc(beat.board ? beat.board.serial_number : "?")}</div>` +
    `<div class="cells">${cells.join("")}</div>` +
    `<div class="foot"><span class="age">${lost ? "last heartbeat " : "heartbeat "}${ago(age)}</span>` +
    `<span class="${waiting ? "waiting" : ""}"${upTip}>outbox ${waiting}</span></div></div>`;
}

async function pollStations() {
  const { data: listing, date } = await fetchJSON("stations/");
  const now = isNaN(date) ? Date.now() : date;
  const files = listing.filter(e => e.type === "file" && e.name.endsWith(".json"));
  const beats = await Promise.all(files.map(f =>
    fetchJSON("stations/" + encodeURIComponent(f.name)).then(r => r.data, () => null)));
  const root = document.getElementById("stations");
  const seen = [];
  files.forEach((f, i) => {
    const id = f.name.slice(0, -5);
    const age = (now - Date.parse(f.mtime)) / 1000;
    let t = tiles.get(id);
    const beat = beats[i] || (t && t.beat);
    if (!beat) return;
    const html = tileHTML(id, beat, age);
    if (!t) {
      t = { el: document.createElement("div"), html: "" };
      tiles.set(id, t);
    }
    t.beat = beat;
    t.lost = age > MISSED_BEATS * (Number(beat.heartbeat_s) || 5);
    if (t.html !== html) {
      t.el.innerHTML = html;
      t.html = html;
    }
    seen.push(id);
  });
  seen.sort((a, b) => a.localeCompare(b, undefined, { numeric: true }));
  seen.forEach((id, i) => {
    const el = tiles.get(id).el;
    if (root.children[i] !== el) root.insertBefore(el, root.children[i] || null);
  });
  const list = seen.map(id => tiles.get(id));
  const running = list.filter(t => !t.lost && String(t.beat.state).startsWith("running")).length;
  const failing = list.filter(t => !t.lost && t.el.firstChild.classList.contains("s-failed")).length;
  const lost = list.filter(t => t.lost).length;
  const waiting = list.reduce((n, t) => n + (Number(t.beat.outbox) || 0), 0);
  document.getElementById("summary").innerHTML =
    `<b>${list.length}</b> stations · <b>${running}</b> running · <b>${failing}</b> with failures · ` +
    `<b>${lost}</b> no contact · <b>${waiting}</b> runs waiting to be sent`;
  return new Map(list.map(t => [t.beat.board && t.beat.board.serial_number, t.beat.station]));
}

async function pollRuns(stationOfSerial) {
  const { data: listing } = await fetchJSON("runs/");
  const newest = listing
    .filter(e => e.type === "file" && e.name.endsWith(".json"))
    .sort((a, b) => Date.parse(b.mtime) - Date.parse(a.mtime) || b.name.localeCompare(a.name))
    .slice(0, RUNS_SHOWN);
  await Promise.all(newest.map(async f => {
    const key = f.mtime + "/" + f.size;
    const cached = runCache.get(f.name);
    if (cached && cached.key === key) return;
    try {
      runCache.set(f.name, { key, record: (await fetchJSON("runs/" + encodeURIComponent(f.name))).data });
    } catch (e) { /* shown as it was; asked again next time */ }
  }));
  const names = new Set(newest.map(f => f.name));
  for (const name of runCache.keys()) if (!names.has(name)) runCache.delete(name);
  const rows = newest.filter(f => runCache.has(f.name)).map(f => {
    const r = runCache.get(f.name).record;
    const t = r.totals || {};
    const serial = (r.board && r.board.serial_number) || "?";
    const station = stationOfSerial.get(serial) || (r.board && r.board.hostname) || "?";
    const failed = (t.failed || 0) + (t.timed_out || 0) + (t.not_recorded || 0);
    const run = r.run || {};
    return `<tr><td>${esc(station)}</td><td>${esc(serial)}</td><td>${esc(localTime(run.started))}` +
      `${run.closed ? "" : '<span class="open">open</span>'}</td><td class="n">${t.passed || 0}</td>` +
      `<td class="n${failed ? " bad" : ""}">${failed}</td>` +
      `<td><a href="runs/${encodeURIComponent(f.name)}">${esc(f.name)}</a></td></tr>`;
  });
  const body = document.querySelector("#runs tbody");
  const html = rows.join("") || '<tr><td colspan="6">No run on the server yet.</td></tr>';
  if (body.dataset.html !== html) {
    body.innerHTML = html;
    body.dataset.html = html;
  }
}

async function poll() {
  const t0 = performance.now();
  const problem = document.getElementById("problem");
  try {
    await pollRuns(await pollStations());
    problem.hidden = true;
  } catch (e) {
    problem.textContent = "The line's server does not answer: " + e.message;
    problem.hidden = false;
  }
  stats.lastPollMs = performance.now() - t0;
  stats.pollMs.push(stats.lastPollMs);
  if (stats.pollMs.length > 100) stats.pollMs.shift();
  stats.polls++;
  setTimeout(poll, POLL_MS);
}

poll();
