// The site served from 127.0.0.1 and a headless Chromium with a fresh
// profile, for the tests and the benchmark. Debian's chromium is driven by
// playwright-core; no browser is downloaded.
'use strict';

const { spawn } = require('child_process');
const path = require('path');
const { chromium } = require(path.join(__dirname, '../node_modules/playwright-core'));

// Serves `siteDir` on a free port of 127.0.0.1; resolves to the site's
// address and a function that stops the server. The server runs in a
// process group of its own, so that stopping it also ends whatever a
// wrapper of python3 started.
function serve(siteDir) {
  const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '--directory', siteDir],
                       { stdio: ['ignore', 'pipe', 'ignore'], detached: true });
  const stop = () => {
    try {
      process.kill(-server.pid);
    } catch (error) {
      // Already gone.
    }
  };
  return new Promise((resolve, reject) => {
    server.stdout.on('data', (data) => {
      const match = /port (\d+)/.exec(String(data));
      if (match) resolve({ base: `http://127.0.0.1:${match[1]}`, stop });
    });
    server.on('error', reject);
    server.on('exit', () => reject(new Error('the web server ended')));
  });
}

// A browser context on a fresh profile in `profileDir`.
function launch(profileDir, viewport = { width: 1280, height: 720 }) {
  return chromium.launchPersistentContext(profileDir, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    acceptDownloads: true,
    viewport,
  });
}

module.exports = { serve, launch };
