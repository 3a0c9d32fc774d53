// A person at the robot in a real browser (Debian's chromium, driven by
// puppeteer-core): fills the form and uploads a good log and sees the
// receipt; uploads a broken one and sees each problem listed; then the
// sponsor logs in, publishes, and the results page shows the station.
//
// usage: node browser_test.js NODE_MODULES STATS_ROBOT MAKE_CONTEST_PY WORK_DIR [SHOTS_DIR]
// With SHOTS_DIR it leaves screenshots of the upload page, a receipt and a
// refusal there, 1280 and 390 pixels wide.
'use strict';

const assert = require('assert');
const childProcess = require('child_process');
const fs = require('fs');
const path = require('path');

const [nodeModules, robot, makeContest, work, shots] = process.argv.slice(2);
const puppeteer = require(path.join(nodeModules, 'puppeteer-core'));
const PASSWORD = 'browser test password';

function startRobot(data) {
  const proc = childProcess.spawn(robot, ['--data', data, '--listen', '127.0.0.1:0',
    '--start', '2016-02-13', '--end', '2016-02-14'], {stdio: ['ignore', 'pipe', 'inherit']});
  return new Promise((resolve, reject) => {
    let out = '';
    proc.stdout.on('data', (chunk) => {
      out += chunk;
      const m = /http:\/\/127\.0\.0\.1:(\d+)\//.exec(out);
      if (m) resolve({proc, base: `http://127.0.0.1:${m[1]}`});
    });
    proc.on('exit', (code) => reject(new Error(`the robot ended with ${code}: ${out}`)));
  });
}

async function fillAndSend(page, base, call, files, power = 'LOW') {
  await page.goto(base + '/');
  await page.type('#call', call);
  await page.type('#email', 'op@example.org');
  await page.select('#power', power);
  await page.type('#club', 'Brawlers');
  const input = await page.$('#files');
  await input.uploadFile(...files);
  await Promise.all([page.waitForNavigation(), page.click('button[type=submit]')]);
}

async function shoot(page, name) {
  if (!shots) return;
  fs.mkdirSync(shots, {recursive: true});
  for (const [suffix, width] of [['', 1280], ['-phone', 390]]) {
    await page.setViewport({width, height: 800});
    await page.screenshot({path: path.join(shots, `${name}${suffix}.png`), fullPage: true});
  }
  await page.setViewport({width: 1280, height: 800});
}

async function main() {
  fs.rmSync(work, {recursive: true, force: true});
  fs.mkdirSync(work, {recursive: true});
  const contest = path.join(work, 'contest');
  childProcess.execFileSync('python3', [makeContest, '--out', contest, '--stations', '6',
    '--qsos', '40', '--random', '5', '--clean'], {stdio: 'ignore'});
  const logs = path.join(contest, 'logs');
  const stations = fs.readdirSync(logs).sort();
  const filesOf = (s) => fs.readdirSync(path.join(logs, s)).sort().map((f) => path.join(logs, s, f));
  const data = path.join(work, 'data');
  childProcess.execFileSync(robot, ['--data', data, 'set-password'], {input: PASSWORD + '\n', stdio: ['pipe', 'ignore', 'ignore']});

  // A broken submission: a line that is no QSO line, one outside the
  // period, and a sheet naming another call.
  const first = stations[0].replace('_', '/');
  const broken = path.join(work, 'broken');
  fs.mkdirSync(broken);
  const rtty = fs.readFileSync(path.join(logs, stations[0], 'RTTY.log'), 'latin1').split('\n');
  rtty.splice(1, 0, 'QSO: 14O80 RY 2016-02-13 1200 ' + first + ' 001 K1AB 001\r');
  rtty.splice(3, 0, 'QSO: 14080 RY 2016-03-01 1200 ' + first + ' 001 K1AB 001\r');
  fs.writeFileSync(path.join(broken, 'RTTY.log'), rtty.join('\n'), 'latin1');
  fs.writeFileSync(path.join(broken, 'Q9ZZ.sum'), '\tCallsign Used : Q9ZZ\r\n');

  const {proc, base} = await startRobot(data);
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    userDataDir: path.join(work, 'chromium-profile'),
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  try {
    const page = await browser.newPage();
    // A page the security policy hinders (its style refused) says so here.
    const refused = [];
    page.on('console', (m) => {
      if (/Content Security Policy/i.test(m.text())) refused.push(`${page.url()}: ${m.text()}`);
    });
    await page.setJavaScriptEnabled(false);  // the pages need none
    await page.setViewport({width: 1280, height: 800});
    await page.goto(base + '/');
    await shoot(page, 'robot-upload');

    await fillAndSend(page, base, first.toLowerCase(), filesOf(stations[0]), 'HIGH');
    const receipt = await page.$eval('#receipt', (e) => e.textContent);
    assert.match(receipt, /^[A-Z2-9]{5}-[A-Z2-9]{5}-[A-Z2-9]{5}$/);
    const receiptText = await page.$eval('main', (e) => e.innerText);
    assert.ok(receiptText.includes(first), 'the receipt names the call');
    await shoot(page, 'robot-receipt');
    console.log(`receipt ${receipt} for ${first}`);

    await fillAndSend(page, base, first, [path.join(broken, 'Q9ZZ.sum'), path.join(broken, 'RTTY.log')]);
    assert.strictEqual(await page.title(), 'Log not accepted - KOVA Brawlcup Digital Prefix Contest');
    const problems = await page.$$eval('ol.problems li', (items) => items.map((i) => i.textContent));
    assert.deepStrictEqual(problems, [
      "RTTY.log line 2: frequency '14O80' is not a number of kHz",
      'RTTY.log line 4: 2016-03-01 1200 lies outside the contest period ' +
          '(2016-02-13 0000 to 2016-02-14 2359)',
      `Q9ZZ.sum names Q9ZZ, not ${first}`,
    ]);
    await shoot(page, 'robot-refusal');
    console.log(`refused with ${problems.length} problems listed`);

    for (const s of stations.slice(1, 4)) {
      await fillAndSend(page, base, s.replace('_', '/'), filesOf(s));
      assert.ok(await page.$('#receipt'), `${s} gets a receipt`);
    }
    await page.goto(base + '/received');
    const received = await page.$$eval('main table tr', (rows) => rows.length - 1);
    assert.strictEqual(received, 4);

    await page.goto(base + '/admin');
    assert.strictEqual(new URL(page.url()).pathname, '/admin/login');
    await page.type('#password', PASSWORD);
    await Promise.all([page.waitForNavigation(), page.click('button[type=submit]')]);
    assert.strictEqual(new URL(page.url()).pathname, '/admin');
    const adminText = await page.$eval('main', (e) => e.textContent);
    assert.ok(adminText.includes('Q9ZZ.sum names Q9ZZ'), 'the back office lists the refusal');
    await Promise.all([page.waitForNavigation({timeout: 120000}),
      page.click('form[action="/admin/publish"] button')]);
    const report = await page.$eval('pre', (e) => e.textContent);
    assert.ok(report.includes(': published'), report);

    await page.goto(base + '/results/');
    const results = await page.$eval('body', (e) => e.innerText);
    for (const s of stations.slice(0, 4)) {
      assert.ok(results.includes(s.replace('_', '/')), `the results show ${s}`);
    }
    await page.click(`a[href="stations/${stations[0]}.html"]`);
    assert.ok((await page.$eval('body', (e) => e.innerText)).includes(first));
    console.log('the sponsor published the results of 4 stations');
    assert.deepStrictEqual(refused, [], 'no page is hindered by the security policy');
  } finally {
    await browser.close();
    proc.kill('SIGTERM');
  }
}

main().then(() => process.exit(0), (e) => {
  console.error(e);
  process.exit(1);
});
