// The event debugger of quarra-service in chromium: the demo session shows
// up with its reports by kind and its transaction's decision, a fault added
// from the form refuses the next report, hostile report values stay text,
// and a posted report reaches the page in under a second.
import assert from 'node:assert/strict';
import { randomUUID } from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';

import { call, launchChromium, loadPlaywright, need, runProgram, startService } from './harness.mjs';

const serviceBinary = need('QUARRA_SERVICE_BINARY');
const cliBinary = need('QUARRA_CLI_BINARY');
const scenarioFile = path.join(need('QUARRA_EXAMPLES_DIR'), 'demo-session.json');
const outputDir = need('QUARRA_BROWSER_OUTPUT');
const scenario = JSON.parse(fs.readFileSync(scenarioFile, 'utf8'));

const playwright = loadPlaywright();
const browser = await launchChromium(playwright);
const service = await startService(serviceBinary);
let failed = false;

function step(name) {
  console.log(`-- ${name}`);
}

// A report for the session through the collector, as the library sends it.
function postReport(sessionId, reportKey, report, key) {
  const headers = key ? { 'Idempotency-Key': key } : {};
  return call(service, 'POST', `/api/data/collect/${reportKey}`,
    { [reportKey]: report, sessionId, clientName: 'browser-test' }, headers);
}

const streamRow = (page, key) => page.locator(`#stream li[data-idempotency-key="${key}"]`);
const classOf = async (row) => (await row.getAttribute('class')) ?? '';
// The faults table follows the service: wait for it to list none.
const noFaultListed = (page) => page.waitForFunction(() => document.querySelectorAll('#faults tbody tr').length === 0,
  null, { timeout: 5000 });

try {
  const page = browser.pages()[0] || await browser.newPage();
  const dialogs = [];
  page.on('dialog', (dialog) => { dialogs.push(dialog.message()); dialog.dismiss(); });
  const pageErrors = [];
  page.on('pageerror', (error) => pageErrors.push(error.message));

  step('the service announces the debugger beside url and caFile');
  assert.match(service.debuggerUrl, /^http:\/\/127\.0\.0\.1:\d+\/$/);
  assert.match(service.url, /^https:\/\/127\.0\.0\.1:\d+$/);

  step('the page opens and its stream connects');
  await page.goto(service.debuggerUrl);
  await page.locator('#connection.live').waitFor({ timeout: 5000 });

  step('the demo session, played by quarra-cli, appears with its reports by kind');
  const run = await runProgram(cliBinary, ['run', scenarioFile, '--platform-url', service.url,
    '--collector-url', service.url, '--certification-url', service.url, '--log-url', service.url,
    '--ca-file', service.caFile, '--data-dir', path.join(service.dataDir, 'client'), '--network', 'manual']);
  assert.equal(run.code, 0, `quarra-cli failed: ${run.errors}`);
  const sessions = (await call(service, 'GET', '/admin/sessions')).body.sessions;
  assert.equal(sessions.length, 1);
  const demo = sessions[0];
  const sessionRow = page.locator(`#sessions tbody tr[data-session="${demo.id}"]`);
  await sessionRow.waitFor({ timeout: 5000 });
  await assert.doesNotReject(sessionRow.filter({ hasText: scenario.customer }).waitFor({ timeout: 2000 }));
  const screenSteps = scenario.steps.filter((s) => s.do === 'userEvents').length;
  const fieldSteps = scenario.steps.filter((s) => s.do === 'activityStream').length;
  // The counts follow the reports as they arrive; wait for the last ones.
  await page.waitForFunction(([id, events, fields]) => {
    const counts = document.querySelector(`#sessions tbody tr[data-session="${id}"] .counts`);
    return counts && counts.textContent.includes(`events ${events}`) && counts.textContent.includes(`activityStream ${fields}`)
      && counts.textContent.includes('userData 1');
  }, [demo.id, screenSteps, fieldSteps], { timeout: 5000 });
  for (const [kind, count] of Object.entries(demo.reportsByKind)) {
    assert.equal(await page.locator(`#stream li[data-report-key="${kind}"][data-session="${demo.id}"]`).count(), count,
      `stream rows of ${kind}`);
  }

  const evaluation = page.locator(`#stream li[data-kind="transaction"] .decision`).first();
  assert.match(await evaluation.textContent(), /^(Guaranteeable|NotGuaranteeable), score \d+$/);

  step('the session timeline shows screens, fields, the location and the transaction decision');
  await sessionRow.click();
  const transactions = (await call(service, 'GET', `/admin/sessions/${demo.id}`)).body.transactions;
  assert.equal(transactions.length, 1);
  const decisionRow = page.locator('#timeline table.transactions tbody tr');
  await decisionRow.filter({ hasText: transactions[0].evaluationDecision }).waitFor({ timeout: 5000 });
  assert.match(await decisionRow.textContent(), new RegExp(`${transactions[0].orderNumber}.*${transactions[0].score}`));
  assert.equal(await page.locator('#timeline table.field-activity tbody tr').count(), fieldSteps);
  const screenNames = await page.locator('#timeline table.screens tbody tr td:first-child').allTextContents();
  assert.deepEqual(screenNames, ['Login', 'Checkout']);
  assert.match(await page.locator('#timeline table.locations').textContent(), /Paris/);
  fs.mkdirSync(outputDir, { recursive: true });
  const screenshot = path.join(outputDir, 'debugger-demo-session.png');
  await page.screenshot({ path: screenshot, fullPage: true });
  console.log(`screenshot: ${screenshot}`);

  step('a report appears in the page within a second of being posted');
  await page.selectOption('#filter-session', '');
  const timelyKey = randomUUID();
  const postedAt = Date.now();
  const accepted = await postReport(demo.id, 'events', [{ userEventType: 'CheckoutExit', time: '2024-05-01 09:16:00.000' }], timelyKey);
  assert.equal(accepted.body.ResponseCode, '0');
  await streamRow(page, timelyKey).waitFor({ timeout: 5000 });
  const latency = Number(await streamRow(page, timelyKey).getAttribute('data-shown-at')) - postedAt;
  console.log(`page update latency: ${latency} ms after the report was posted`);
  assert.ok(latency < 1000, `the report took ${latency} ms to appear`);

  step('the same report sent again is shown as a repeat');
  await postReport(demo.id, 'events', [{ userEventType: 'CheckoutExit', time: '2024-05-01 09:16:00.000' }], timelyKey);
  await streamRow(page, timelyKey).nth(1).waitFor({ timeout: 5000 });
  assert.match(await classOf(streamRow(page, timelyKey).first()), /repeat/);
  assert.doesNotMatch(await classOf(streamRow(page, timelyKey).nth(1)), /repeat/);

  step('a screen left shows the time spent on it in the timeline');
  await sessionRow.click();
  const checkout = page.locator('#timeline table.screens tbody tr', { hasText: 'Checkout' });
  await checkout.filter({ hasText: '2024-05-01 09:16:00.000' }).waitFor({ timeout: 5000 });
  assert.match(await checkout.textContent(), /40\.0 s/);
  await page.selectOption('#filter-session', '');

  step('a fault added from the form refuses the next report, and is then used up');
  await page.fill('#fault-form input[name=path]', '/api/data/collect/');
  await page.fill('#fault-form input[name=responseCode]', '7');
  await page.fill('#fault-form input[name=count]', '1');
  await page.click('#fault-form button[type=submit]');
  await page.locator('#faults tbody tr', { hasText: '/api/data/collect/' }).waitFor({ timeout: 5000 });
  assert.equal((await call(service, 'GET', '/admin/faults')).body.faults[0].responseCode, '7');
  const refusedKey = randomUUID();
  const refusedAnswer = await postReport(demo.id, 'userLocation', { city: 'Lyon', latitude: '45.76', longitude: '4.83' }, refusedKey);
  assert.equal(refusedAnswer.body.ResponseCode, '7');
  const refusedRow = streamRow(page, refusedKey);
  await refusedRow.waitFor({ timeout: 5000 });
  assert.match(await classOf(refusedRow), /refused/);
  assert.match(await refusedRow.textContent(), /ResponseCode 7/);
  await noFaultListed(page);  // used up
  // A fault that does nothing is refused by the service, and the page says why.
  await page.fill('#fault-form input[name=responseCode]', '');
  await page.click('#fault-form button[type=submit]');
  await page.locator('#fault-message.bad', { hasText: 'a fault needs' }).waitFor({ timeout: 5000 });
  assert.deepEqual((await call(service, 'GET', '/admin/faults')).body.faults, []);
  await page.fill('#fault-form input[name=path]', '/api/v1/');
  await page.fill('#fault-form input[name=delayMs]', '5000');
  await page.fill('#fault-form input[name=count]', '3');
  await page.click('#fault-form button[type=submit]');
  await page.locator('#faults tbody tr', { hasText: '/api/v1/' }).waitFor({ timeout: 5000 });
  await page.click('#clear-faults');
  await page.locator('#fault-message', { hasText: '1 fault(s) cleared' }).waitFor({ timeout: 5000 });
  await noFaultListed(page);
  assert.deepEqual((await call(service, 'GET', '/admin/faults')).body.faults, []);

  step('hostile values in a session and a report are shown as text and never run');
  const hostileScript = '<script>window.__pwned = "script"</script>';
  const hostileImage = '<img src=x onerror="window.__pwned = \'img\'; alert(1)">';
  const token = (await call(service, 'POST', '/api/accessToken', {},
    { Authorization: `Basic ${Buffer.from('demo:demo-secret').toString('base64')}` })).body.accessToken;
  const hostileSession = (await call(service, 'POST', '/api/v1/transactions/initiate',
    { customerName: hostileImage, deviceId: hostileScript }, { Authorization: `Bearer ${token}` })).body.data.transactionId;
  const hostileKey = randomUUID();
  await postReport(hostileSession, 'userData', { appName: hostileScript, [hostileImage]: hostileImage }, hostileKey);
  const hostileRow = streamRow(page, hostileKey);
  await hostileRow.waitFor({ timeout: 5000 });
  const rowText = await hostileRow.textContent();
  assert.ok(rowText.includes(hostileScript) && rowText.includes(hostileImage), `row text: ${rowText}`);
  const hostileSessionRow = page.locator(`#sessions tbody tr[data-session="${hostileSession}"]`);
  await hostileSessionRow.waitFor({ timeout: 5000 });
  assert.ok((await hostileSessionRow.textContent()).includes(hostileImage));
  await hostileSessionRow.click();
  await page.locator('#timeline', { hasText: hostileScript }).waitFor({ timeout: 5000 });
  await page.waitForTimeout(300);  // time for an injected handler to run, if one had been made
  assert.equal(await page.locator('main img, main script').count(), 0);
  assert.equal(await page.evaluate(() => window.__pwned), undefined);
  assert.deepEqual(dialogs, []);

  step('neither the account secret nor an access token is on the page');
  const pageText = await page.evaluate(() => document.body.textContent);
  assert.ok(!pageText.includes('demo-secret'), 'the account secret is shown');
  assert.ok(!pageText.includes(token), 'an access token is shown');
  assert.ok(await page.locator('#stream li[data-kind="token"]').count() >= 2, 'token calls are listed');

  step('copy as JSON gives the row\'s event');
  await browser.grantPermissions(['clipboard-read', 'clipboard-write'], { origin: service.debuggerUrl.slice(0, -1) });
  await hostileRow.locator('button.copy').click();
  await hostileRow.locator('button.copy', { hasText: 'Copied' }).waitFor({ timeout: 5000 });
  const copied = JSON.parse(await page.evaluate(() => navigator.clipboard.readText()));
  assert.equal(copied.idempotencyKey, hostileKey);
  assert.equal(copied.request.userData.appName, hostileScript);

  step('the filters show one session and one kind');
  await page.selectOption('#filter-session', demo.id);
  await page.selectOption('#filter-kind', 'activityStream');
  const visible = page.locator('#stream li:not(.hidden)');
  assert.equal(await visible.count(), fieldSteps);
  await page.selectOption('#filter-kind', 'log');
  assert.ok(await visible.count() > 0);
  assert.deepEqual(new Set(await visible.evaluateAll((rows) => rows.map((r) => `${r.dataset.kind} ${r.dataset.session}`))),
    new Set([`log ${demo.id}`]));
  await page.selectOption('#filter-session', '');
  await page.selectOption('#filter-kind', '');

  step('browsers that stop reading never hold up the service');
  const stalled = [];
  for (let i = 0; i < 6; ++i) {
    const request = http.get(`${service.debuggerUrl}events`, (response) => response.pause());
    request.on('error', () => {});  // ended by the service's stop
    stalled.push(request);
  }
  await new Promise((resolve) => setTimeout(resolve, 300));
  const busyStart = Date.now();
  for (let i = 0; i < 20; ++i) {
    const answer = await postReport(demo.id, 'accelerometerData', { xvalue: String(i), yvalue: '0', zvalue: '0' });
    assert.equal(answer.body.ResponseCode, '0');
  }
  console.log(`20 reports answered in ${Date.now() - busyStart} ms with 6 stalled streams open`);
  assert.equal((await call(service, 'GET', '/admin/sessions')).status, 200);
  // The page's own JSON still has threads to answer on.
  const pageJson = await new Promise((resolve, reject) => {
    http.get(`${service.debuggerUrl}admin/faults`, (response) => {
      response.resume();
      response.on('end', () => resolve(response.statusCode));
    }).on('error', reject);
  });
  assert.equal(pageJson, 200);

  step('a stop ends the page\'s stream and the service exits cleanly');
  assert.equal(await page.locator('#connection.live').count(), 1);
  const stopStart = Date.now();
  service.child.kill('SIGTERM');
  const exit = await service.exited;
  console.log(`the service stopped in ${Date.now() - stopStart} ms`);
  assert.equal(exit.code, 0, service.errors());
  assert.ok(Date.now() - stopStart < 5000);
  for (const request of stalled) request.destroy();
  await page.locator('#connection:not(.live)').waitFor({ timeout: 5000 });
  assert.deepEqual(pageErrors, []);
  console.log('PASSED: the event debugger');
} catch (error) {
  failed = true;
  console.error('FAILED:', error);
  const failureShot = path.join(outputDir, 'debugger-failure.png');
  try {
    fs.mkdirSync(outputDir, { recursive: true });
    await browser.pages()[0].screenshot({ path: failureShot, fullPage: true });
    console.error(`screenshot of the failure: ${failureShot}`);
  } catch {
    // The browser may be what failed.
  }
  if (service.errors()) console.error(`quarra-service said: ${service.errors()}`);
} finally {
  if (service.child.exitCode === null) service.child.kill('SIGTERM');
  await browser.close();
  fs.rmSync(service.dataDir, { recursive: true, force: true });
}
process.exit(failed ? 1 : 0);
