// The event debugger's script. Every value that came from a client is put on
// the page as text (textContent, never markup), so a report cannot run code.
'use strict';

const shownRows = 500;  // older stream rows are removed from the page
const state = { sessions: [], selected: '', faultsTimer: 0, sessionsTimer: 0 };

// Builds an element; children are elements or plain text.
function el(tag, className, ...children) {
  const node = document.createElement(tag);
  if (className) node.className = className;
  for (const child of children) {
    if (child === null || child === undefined) continue;
    node.append(child instanceof Node ? child : String(child));
  }
  return node;
}

function text(value) {
  if (value === null || value === undefined) return '';
  return typeof value === 'object' ? JSON.stringify(value) : String(value);
}

// [path, value] pairs of a document, nested keys joined with dots.
function flatten(value, prefix = '', out = []) {
  if (out.length >= 200) return out;
  if (value !== null && typeof value === 'object' && Object.keys(value).length > 0) {
    for (const [key, inner] of Object.entries(value)) {
      flatten(inner, prefix ? `${prefix}.${key}` : key, out);
    }
  } else {
    out.push([prefix || '(value)', text(value)]);
  }
  return out;
}

function fieldTable(value) {
  const body = el('tbody');
  for (const [path, shown] of flatten(value)) body.append(el('tr', '', el('td', '', path), el('td', '', shown)));
  return el('table', 'fields', body);
}

async function getJson(path, options) {
  const response = await fetch(path, options);
  const body = await response.json().catch(() => ({}));
  if (!response.ok) throw new Error(body.errorMessage || `HTTP ${response.status}`);
  return body;
}

async function copyText(value) {
  try {
    await navigator.clipboard.writeText(value);
    return true;
  } catch {
    // Without the clipboard permission: the old way, through a selection.
    const area = el('textarea', '', value);
    document.body.append(area);
    area.select();
    const done = document.execCommand('copy');
    area.remove();
    return done;
  }
}

// ---- The live stream -------------------------------------------------------

function eventLabel(event) {
  if (event.kind === 'report') return `report ${event.reportKey || '(no report key)'}`;
  if (event.kind === 'transaction') return `transaction ${event.call}`;
  if (event.kind === 'session') return 'session started';
  if (event.kind === 'token') return 'access token';
  if (event.kind === 'log') return 'log record';
  return `${event.method} ${event.path}`;
}

// Refused: an HTTP error, a collector code other than "0", or no answer at all.
function refused(event) {
  if (event.dropped || event.status >= 400) return true;
  return (event.kind === 'report' || event.kind === 'log') && event.responseCode !== undefined && event.responseCode !== '0';
}

// What the row's table shows: the report itself, not its envelope.
function eventFields(event) {
  const request = event.request;
  if (event.kind === 'report' && request && typeof request === 'object' && event.reportKey in request) {
    return request[event.reportKey];
  }
  if (event.kind === 'transaction' && event.answer && event.answer.data) {
    return { request, answer: event.answer.data };
  }
  return request;
}

// "Guaranteeable, score 5" for an answered evaluation.
function decisionOf(event) {
  const data = event.call === 'evaluation' && event.answer && event.answer.data;
  return data && data.evaluationDecision ? `${data.evaluationDecision}, score ${data.score}` : '';
}

function matchesFilters(row) {
  const session = document.getElementById('filter-session').value;
  const kind = document.getElementById('filter-kind').value;
  if (session && row.dataset.session !== session) return false;
  if (kind && row.dataset.kind !== kind && row.dataset.reportKey !== kind) return false;
  return true;
}

function applyFilters() {
  for (const row of document.getElementById('stream').children) row.classList.toggle('hidden', !matchesFilters(row));
}

function streamRow(event) {
  const bad = refused(event);
  const head = el('div', 'row-head',
    el('span', 'kind', eventLabel(event)),
    el('span', `badge${bad ? ' bad' : ''}`, event.dropped ? 'connection dropped' : `HTTP ${event.status}`),
    !event.dropped && event.responseCode !== undefined ? el('span', `badge${bad ? ' bad' : ''}`, `ResponseCode ${event.responseCode}`) : null,
    event.repeat ? el('span', 'badge repeat', 'repeat, not stored again') : null,
    decisionOf(event) ? el('span', 'badge decision', decisionOf(event)) : null,
    el('span', 'muted', event.time));
  const copy = el('button', 'copy', 'Copy as JSON');
  copy.type = 'button';
  copy.addEventListener('click', async () => {
    copy.textContent = (await copyText(JSON.stringify(event, null, 2))) ? 'Copied' : 'Copy failed';
  });
  head.append(copy);

  const details = el('div', 'muted');
  if (event.sessionId) details.append(el('span', '', `session ${event.sessionId}`), ' ');
  if (event.idempotencyKey) details.append(el('span', 'idempotency', `idempotency key ${event.idempotencyKey}`), ' ');
  if (event.responseText) details.append(el('span', 'response-text', `“${event.responseText}”`), ' ');
  details.append(el('span', '', `${event.method} ${event.path}`));

  const row = el('li', bad ? 'refused' : event.repeat ? 'repeat' : '', head, details);
  const fields = eventFields(event);
  if (fields !== undefined && fields !== null) {
    // Short reports open; long documents (evaluations, logs) one click away.
    const table = fieldTable(fields);
    const count = table.querySelectorAll('tr').length;
    const box = el('details', '', el('summary', 'muted', `${count} field${count === 1 ? '' : 's'}`), table);
    box.open = count <= 15;
    row.append(box);
  }
  if (event.bodyBytes) row.append(el('p', 'muted', `body of ${event.bodyBytes} bytes not shown`));
  row.dataset.seq = event.seq;
  row.dataset.kind = event.kind;
  row.dataset.session = event.sessionId || '';
  row.dataset.reportKey = event.reportKey || '';
  if (event.idempotencyKey) row.dataset.idempotencyKey = event.idempotencyKey;
  row.dataset.shownAt = Date.now();
  row.classList.toggle('hidden', !matchesFilters(row));
  return row;
}

function showEvent(event) {
  const list = document.getElementById('stream');
  list.prepend(streamRow(event));
  while (list.children.length > shownRows) list.lastElementChild.remove();
  // The overview, the selected timeline and the faults follow what arrives.
  scheduleRefresh();
}

function connectStream() {
  const status = document.getElementById('connection');
  const source = new EventSource('/events');
  source.onopen = () => { status.textContent = 'live'; status.classList.add('live'); };
  source.onerror = () => { status.textContent = 'reconnecting…'; status.classList.remove('live'); };
  source.onmessage = (message) => {
    try {
      showEvent(JSON.parse(message.data));
    } catch (error) {
      console.error('cannot show an event', error);
    }
  };
}

// ---- Sessions --------------------------------------------------------------

function scheduleRefresh() {
  clearTimeout(state.sessionsTimer);
  state.sessionsTimer = setTimeout(() => {
    loadSessions();
    loadFaults();
    if (state.selected) loadTimeline(state.selected);
  }, 250);
}

function kindCounts(session) {
  const counts = Object.entries(session.reportsByKind || {}).map(([kind, count]) => `${kind} ${count}`);
  if (session.logRecordCount) counts.push(`log ${session.logRecordCount}`);
  if (session.transactionCount) counts.push(`transactions ${session.transactionCount}`);
  return counts.length ? counts.join(', ') : 'none yet';
}

function renderSessions() {
  const body = document.querySelector('#sessions tbody');
  const sorted = [...state.sessions].sort((a, b) => b.createdAt.localeCompare(a.createdAt));
  body.replaceChildren(...sorted.map((session) => {
    const row = el('tr', session.id === state.selected ? 'selected' : '',
      el('td', '', session.createdAt), el('td', '', session.account), el('td', '', session.customerName),
      el('td', '', session.deviceId), el('td', 'counts', kindCounts(session)));
    row.dataset.session = session.id;
    row.title = `session ${session.id}`;
    row.addEventListener('click', () => selectSession(session.id));
    return row;
  }));
  document.getElementById('no-sessions').hidden = sorted.length > 0;

  const filter = document.getElementById('filter-session');
  const chosen = filter.value;
  filter.replaceChildren(el('option', '', 'all sessions'), ...sorted.map((session) => {
    const option = el('option', '', `${session.createdAt} ${session.customerName} (${session.id.slice(0, 8)})`);
    option.value = session.id;
    return option;
  }));
  filter.firstElementChild.value = '';
  filter.value = chosen;
}

async function loadSessions() {
  try {
    state.sessions = (await getJson('/admin/sessions')).sessions;
    renderSessions();
  } catch (error) {
    console.error('cannot load the sessions', error);
  }
}

function selectSession(id) {
  state.selected = id;
  document.getElementById('filter-session').value = id;
  applyFilters();
  renderSessions();
  loadTimeline(id);
}

// ---- One session's timeline -------------------------------------------------

// "2024-05-01 09:14:02.118" as milliseconds, or NaN.
function clientTime(value) {
  return Date.parse(String(value || '').replace(' ', 'T') + 'Z');
}

function table(headings, rows, className) {
  const head = el('tr', '', ...headings.map((heading) => el('th', '', heading)));
  const body = el('tbody', '', ...rows.map((cells) => el('tr', '', ...cells.map((cell) => el('td', '', text(cell))))));
  return el('table', className, el('thead', '', head), body);
}

function reportsOf(detail, key) {
  return detail.reports.filter((report) => report.reportKey === key && report.envelope && typeof report.envelope === 'object')
    .map((report) => report.envelope[key]);
}

// Screens entered and left, paired by name, with the time spent.
function screens(events) {
  const rows = [];
  const open = new Map();
  for (const event of events) {
    const type = String(event.userEventType || '');
    const entered = type.match(/^(.*)Enter$/);
    const left = type.match(/^(.*)Exit$/);
    if (entered) {
      const row = [entered[1], event.time, 'still open', ''];
      open.set(entered[1], row);
      rows.push(row);
    } else if (left) {
      const row = open.get(left[1]) || [left[1], '', '', ''];
      if (!open.has(left[1])) rows.push(row);
      open.delete(left[1]);
      row[2] = event.time;
      const spent = clientTime(event.time) - clientTime(row[1]);
      row[3] = Number.isFinite(spent) ? `${(spent / 1000).toFixed(1)} s` : `${event.duration} ms`;
    }
  }
  return rows;
}

function renderTimeline(detail) {
  const box = document.getElementById('timeline');
  const session = detail.session;
  const parts = [el('p', '', `Session ${session.id}: ${session.customerName}, account ${session.account}, device ${session.deviceId}, started ${session.createdAt}`)];

  const startUp = reportsOf(detail, 'userData');
  parts.push(el('h3', '', 'Start-up report'));
  parts.push(startUp.length ? fieldTable(startUp[0]) : el('p', 'note', 'none received'));

  const events = reportsOf(detail, 'events').flat().filter((event) => event && typeof event === 'object');
  parts.push(el('h3', '', 'Screens'));
  parts.push(table(['Screen', 'Entered', 'Left', 'Time spent'], screens(events), 'screens'));

  const fields = reportsOf(detail, 'activityStream').flat().flatMap((page) => (page && page.activityStream) || []);
  parts.push(el('h3', '', 'Fields'));
  parts.push(table(['Field', 'Time', 'Keystrokes', 'kpm', 'Clicks', 'Duration (ms)'],
    fields.map((f) => [f.element, f.time, f.keystrokes, f.kpm, f.clicks, f.duration]), 'field-activity'));

  const taps = events.filter((event) => !/(Enter|Exit)$/.test(String(event.userEventType || '')));
  parts.push(el('h3', '', 'Taps'));
  parts.push(table(['Event', 'Time', 'x', 'y', 'Pressure'],
    taps.map((t) => [t.userEventType, t.time, t.xposition, t.yposition, t.pressure]), 'taps'));

  parts.push(el('h3', '', 'Locations'));
  parts.push(table(['Place', 'Latitude', 'Longitude'],
    reportsOf(detail, 'userLocation').map((l) => [[l.city, l.state, l.country].filter(Boolean).join(', '), l.latitude, l.longitude]),
    'locations'));

  const fingerprint = reportsOf(detail, 'fingerprintPro');
  parts.push(el('h3', '', 'Fingerprint'));
  parts.push(fingerprint.length ? fieldTable(fingerprint[fingerprint.length - 1]) : el('p', 'note', 'none received'));

  parts.push(el('h3', '', 'Transactions'));
  parts.push(table(['Order', 'Step', 'Amount', 'Score', 'Decision', 'Status'],
    detail.transactions.map((t) => [t.orderNumber, t.evaluationStep, `${t.amount} ${t.currencyCode}`, t.score, t.evaluationDecision, t.status]),
    'transactions'));
  parts.push(table(['Cart event', 'Cart', 'Received'],
    detail.transactionEvents.map((e) => [e.eventType, e.uniqueCartId, e.receivedAt]), 'cart-events'));
  parts.push(el('p', 'muted', `${detail.reports.length} reports, ${detail.repeatsAbsorbed} repeats absorbed, ${detail.logRecords.length} log records`));
  box.replaceChildren(...parts);
  document.getElementById('timeline-hint').hidden = true;
}

async function loadTimeline(id) {
  try {
    const detail = await getJson(`/admin/sessions/${encodeURIComponent(id)}`);
    if (id === state.selected) renderTimeline(detail);
  } catch (error) {
    console.error('cannot load the session', error);
  }
}

// ---- Faults ----------------------------------------------------------------

function faultMessage(message, bad) {
  const line = document.getElementById('fault-message');
  line.textContent = message;
  line.classList.toggle('bad', bad);
}

async function loadFaults() {
  try {
    const { faults } = await getJson('/admin/faults');
    document.querySelector('#faults tbody').replaceChildren(...faults.map((fault) => el('tr', '',
      el('td', '', fault.path), el('td', '', text(fault.responseCode)), el('td', '', text(fault.httpStatus)),
      el('td', '', fault.delayMs), el('td', '', fault.drop ? 'yes' : 'no'), el('td', '', fault.count))));
  } catch (error) {
    console.error('cannot load the faults', error);
  }
}

// Only the fields filled in are sent; the service checks them.
function faultFromForm(form) {
  const data = new FormData(form);
  const fault = { path: String(data.get('path')) };
  if (data.get('responseCode')) fault.responseCode = String(data.get('responseCode'));
  for (const key of ['httpStatus', 'delayMs', 'count']) {
    if (data.get(key)) fault[key] = Number(data.get(key));
  }
  if (data.get('drop')) fault.drop = true;
  return fault;
}

function setUpFaults() {
  const form = document.getElementById('fault-form');
  form.addEventListener('submit', async (submit) => {
    submit.preventDefault();
    try {
      await getJson('/admin/faults', {
        method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(faultFromForm(form)),
      });
      await loadFaults();
      faultMessage('Fault added.', false);
    } catch (error) {
      faultMessage(`Not added: ${error.message}`, true);
    }
  });
  document.getElementById('clear-faults').addEventListener('click', async () => {
    try {
      const { cleared } = await getJson('/admin/faults', { method: 'DELETE' });
      await loadFaults();
      faultMessage(`${cleared} fault(s) cleared.`, false);
    } catch (error) {
      faultMessage(`Not cleared: ${error.message}`, true);
    }
  });
}

document.addEventListener('DOMContentLoaded', () => {
  document.getElementById('filter-session').addEventListener('change', (change) => {
    state.selected = change.target.value;
    applyFilters();
    renderSessions();
    if (state.selected) loadTimeline(state.selected);
  });
  document.getElementById('filter-kind').addEventListener('change', applyFilters);
  document.getElementById('clear-stream').addEventListener('click', () => document.getElementById('stream').replaceChildren());
  setUpFaults();
  loadSessions();
  loadFaults();
  connectStream();
});
