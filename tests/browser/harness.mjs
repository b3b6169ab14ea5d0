// What the browser test needs around the page: the two real binaries, HTTPS
// calls trusting the service's own CA, and a clear skip when no browser can start.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import https from 'node:https';
import os from 'node:os';
import path from 'node:path';
import { createInterface } from 'node:readline';
import { createRequire } from 'node:module';

export const SKIP = 77;  // CTest's SKIP_RETURN_CODE for these tests

export function skip(reason) {
  console.log(`SKIPPED: ${reason}`);
  process.exit(SKIP);
}

export function need(name) {
  const value = process.env[name];
  if (!value) throw new Error(`${name} is not set (the test is run by CTest)`);
  return value;
}

// playwright-core from this folder's node_modules, or a skip naming the fix.
export function loadPlaywright() {
  const require = createRequire(import.meta.url);
  try {
    return require('playwright-core');
  } catch {
    return skip('playwright-core is not installed in tests/browser (run scripts/setup.sh)');
  }
}

export async function launchChromium(playwright) {
  const executablePath = process.env.QUARRA_CHROMIUM || '/usr/bin/chromium';
  if (!fs.existsSync(executablePath)) skip(`no browser at ${executablePath} (run scripts/setup.sh)`);
  // A fresh profile, and none of chromium's background connections: this
  // machine has no outside network.
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quarra-browser-profile-'));
  try {
    return await playwright.chromium.launchPersistentContext(profile, {
      executablePath,
      headless: true,
      viewport: { width: 1400, height: 1000 },
      args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync'],
      timeout: 30000,
    });
  } catch (error) {
    return skip(`chromium did not start: ${error.message.split('\n')[0]}`);
  }
}

// Starts quarra-service in a fresh data directory; resolves with its first line.
export async function startService(binary, extraArgs = []) {
  const dataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'quarra-browser-service-'));
  const child = spawn(binary, ['--port', '0', '--data-dir', dataDir, '--quiet', ...extraArgs], { stdio: ['ignore', 'pipe', 'pipe'] });
  let errors = '';
  child.stderr.on('data', (chunk) => { errors += chunk; });
  const exited = new Promise((resolve) => child.on('exit', (code, signal) => resolve({ code, signal })));
  const firstLine = await new Promise((resolve, reject) => {
    createInterface({ input: child.stdout }).once('line', resolve);
    exited.then(() => reject(new Error(`quarra-service did not start: ${errors}`)));
  });
  const announced = JSON.parse(firstLine);
  return { child, exited, dataDir, ...announced, ca: fs.readFileSync(announced.caFile), errors: () => errors };
}

// One HTTPS call to the service; resolves with {status, body}.
export function call(service, method, pathName, body, headers = {}) {
  const url = new URL(pathName, service.url);
  const text = body === undefined ? '' : typeof body === 'string' ? body : JSON.stringify(body);
  return new Promise((resolve, reject) => {
    const request = https.request(url, {
      method, ca: service.ca, agent: false,
      headers: { 'Content-Type': 'application/json', 'Content-Length': Buffer.byteLength(text), ...headers },
    }, (response) => {
      let answer = '';
      response.on('data', (chunk) => { answer += chunk; });
      response.on('end', () => resolve({ status: response.statusCode, body: answer ? JSON.parse(answer) : null }));
    });
    request.on('error', reject);
    request.end(text);
  });
}

export function runProgram(binary, args) {
  return new Promise((resolve) => {
    const child = spawn(binary, args, { stdio: ['ignore', 'pipe', 'pipe'] });
    let output = '';
    let errors = '';
    child.stdout.on('data', (chunk) => { output += chunk; });
    child.stderr.on('data', (chunk) => { errors += chunk; });
    child.on('exit', (code) => resolve({ code, output, errors }));
  });
}
