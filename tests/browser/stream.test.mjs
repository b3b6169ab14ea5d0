// The event debugger's listener without a browser: what its event stream
// carries (and never carries), whom it answers, how a stream resumes, and the
// flags that place or remove it. Needs only node.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';

import { call, need, startService } from './harness.mjs';

const serviceBinary = need('QUARRA_SERVICE_BINARY');

function get(url, headers = {}) {
  return new Promise((resolve, reject) => {
    http.get(url, { headers }, (response) => {
      let body = '';
      response.on('data', (chunk) => { body += chunk; });
      response.on('end', () => resolve({ status: response.statusCode, headers: response.headers, body }));
    }).on('error', reject);
  });
}

// Reads a stream until `count` events arrived or it ends; returns them parsed.
function readEvents(url, count, headers = {}) {
  return new Promise((resolve, reject) => {
    const events = [];
    let buffer = '';
    const request = http.get(url, { headers }, (response) => {
      response.setEncoding('utf8');
      response.on('data', (chunk) => {
        buffer += chunk;
        let end;
        while ((end = buffer.indexOf('\n\n')) >= 0) {
          const block = buffer.slice(0, end);
          buffer = buffer.slice(end + 2);
          const data = block.split('\n').find((line) => line.startsWith('data: '));
          if (data) events.push(JSON.parse(data.slice(6)));
        }
        if (events.length >= count) {
          request.destroy();
          resolve(events);
        }
      });
      response.on('end', () => resolve(events));
    });
    request.on('error', (error) => (events.length >= count ? resolve(events) : reject(error)));
  });
}

function step(name) {
  console.log(`-- ${name}`);
}

const service = await startService(serviceBinary);
let failed = false;
try {
  const events = `${service.debuggerUrl}events`;

  step('a session, a report, a refusal and a repeat arrive decoded, with no credential');
  const token = (await call(service, 'POST', '/api/accessToken', {},
    { Authorization: `Basic ${Buffer.from('demo:demo-secret').toString('base64')}` })).body.accessToken;
  const session = (await call(service, 'POST', '/api/v1/transactions/initiate',
    { customerName: 'Stream Shop', deviceId: 'device-1' }, { Authorization: `Bearer ${token}` })).body.data.transactionId;
  const envelope = { userLocation: { city: 'Lyon' }, sessionId: session, clientName: 'stream-test' };
  await call(service, 'POST', '/api/data/collect/userLocation', envelope, { 'Idempotency-Key': 'key-1' });
  await call(service, 'POST', '/api/data/collect/userLocation', envelope, { 'Idempotency-Key': 'key-1' });
  await call(service, 'POST', '/api/data/collect/userLocation', { ...envelope, sessionId: 'nobody' });
  await call(service, 'GET', '/admin/sessions');  // the debugger's own traffic is not listed
  const seen = await readEvents(events, 5);
  assert.deepEqual(seen.map((e) => e.kind), ['token', 'session', 'report', 'report', 'report']);
  assert.deepEqual(seen.map((e) => e.seq), [1, 2, 3, 4, 5]);
  const [tokenEvent, sessionEvent, stored, repeat, refused] = seen;
  assert.equal(tokenEvent.status, 200);
  assert.ok(!JSON.stringify(seen).includes(token), 'an access token is in the stream');
  assert.ok(!JSON.stringify(seen).includes('demo-secret'), 'the account secret is in the stream');
  assert.equal(sessionEvent.sessionId, session);
  assert.equal(sessionEvent.request.customerName, 'Stream Shop');
  assert.deepEqual([stored.reportKey, stored.sessionId, stored.idempotencyKey, stored.repeat, stored.responseCode],
    ['userLocation', session, 'key-1', false, '0']);
  assert.equal(stored.request.userLocation.city, 'Lyon');
  assert.equal(repeat.repeat, true);
  assert.deepEqual([refused.status, refused.responseCode, refused.repeat], [200, '3', false]);

  step('a stream resumes after the last event it saw');
  const resumed = await readEvents(events, 1, { 'Last-Event-ID': '4' });
  assert.equal(resumed[0].seq, 5);
  // A position from an earlier run of the service (it counts from 1 again).
  const restarted = await readEvents(events, 5, { 'Last-Event-ID': '900' });
  assert.deepEqual(restarted.map((e) => e.seq), [1, 2, 3, 4, 5]);

  step('a dropped connection is shown as dropped');
  await call(service, 'POST', '/admin/faults', { path: '/api/data/collect/', drop: true });
  await assert.rejects(call(service, 'POST', '/api/data/collect/userLocation', envelope));
  const [dropped] = await readEvents(events, 1, { 'Last-Event-ID': '5' });
  assert.equal(dropped.dropped, true);

  step('the page is served with a policy that runs no inline script');
  const page = await get(service.debuggerUrl);
  assert.equal(page.status, 200);
  assert.match(page.headers['content-type'], /text\/html/);
  assert.match(page.headers['content-security-policy'], /script-src 'self'/);
  assert.doesNotMatch(page.headers['content-security-policy'], /unsafe-inline/);
  assert.equal((await get(`${service.debuggerUrl}debugger.js`)).status, 200);

  step('only requests for 127.0.0.1 or localhost on its port are answered');
  const port = new URL(service.debuggerUrl).port;
  assert.equal((await get(service.debuggerUrl, { Host: `localhost:${port}` })).status, 200);
  assert.equal((await get(service.debuggerUrl, { Host: `attacker.example:${port}` })).status, 403);
  assert.equal((await get(`${service.debuggerUrl}admin/sessions`, { Host: 'attacker.example' })).status, 403);

  step('a stop ends an open stream');
  const open = readEvents(events, 1000, { 'Last-Event-ID': '6' });
  await new Promise((resolve) => setTimeout(resolve, 200));
  service.child.kill('SIGTERM');
  assert.deepEqual(await open, []);
  assert.equal((await service.exited).code, 0);

  step('--no-debugger removes the listener and its address; a taken --debugger-port is refused');
  const quiet = await startService(serviceBinary, ['--no-debugger']);
  assert.equal(quiet.debuggerUrl, undefined);
  assert.ok(quiet.url && quiet.caFile);
  quiet.child.kill('SIGTERM');
  await quiet.exited;
  fs.rmSync(quiet.dataDir, { recursive: true, force: true });
  const blocker = net.createServer().listen(0, '127.0.0.1');
  await new Promise((resolve) => blocker.once('listening', resolve));
  const dataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'quarra-stream-'));
  const taken = spawnSync(serviceBinary, ['--data-dir', dataDir, '--debugger-port', String(blocker.address().port)],
    { encoding: 'utf8', timeout: 10000 });
  blocker.close();
  fs.rmSync(dataDir, { recursive: true, force: true });
  assert.equal(taken.status, 3, taken.stderr);
  assert.match(taken.stderr, /debugger port/);
  console.log('PASSED: the event stream');
} catch (error) {
  failed = true;
  console.error('FAILED:', error);
  console.error(`quarra-service said: ${service.errors()}`);
} finally {
  if (service.child.exitCode === null) service.child.kill('SIGTERM');
  fs.rmSync(service.dataDir, { recursive: true, force: true });
}
process.exit(failed ? 1 : 0);
