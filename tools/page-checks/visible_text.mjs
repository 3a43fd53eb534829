// Prints, as JSON, the text that headless Chromium shows for each page given (file paths):
// document.body.innerText once the page has loaded, keyed by the path.
//     node visible_text.mjs PAGE.html ...
// Run from tools/page-checks, where puppeteer-core is installed with Lighthouse.
import puppeteer from 'puppeteer-core';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const browser = await puppeteer.launch({
  executablePath: process.env.CHROME_PATH || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--autoplay-policy=user-gesture-required'],
  headless: true,
});
const texts = {};
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 900 });
  for (const file of process.argv.slice(2)) {
    await page.goto(pathToFileURL(path.resolve(file)).href, { waitUntil: 'load', timeout: 60000 });
    texts[file] = await page.evaluate(() => document.body ? document.body.innerText : '');
  }
} finally {
  await browser.close();
}
process.stdout.write(JSON.stringify(texts));
