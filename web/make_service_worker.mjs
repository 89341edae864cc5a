// Writes the site's service worker: the files of this build with their
// SHA-256, and a version made of them, in front of service_worker.js. Any
// change of any file gives a new version, hence a new cache.
//
//   node make_service_worker.mjs SITE_DIR TEMPLATE FILE...   (FILE relative to SITE_DIR)
import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const [site, template, ...names] = process.argv.slice(2);
const sha256 = bytes => createHash('sha256').update(bytes).digest('hex');
const files = Object.fromEntries(names.sort().map(name => [name, sha256(readFileSync(join(site, name)))]));
const version = sha256(JSON.stringify(files)).slice(0, 16);
writeFileSync(join(site, 'service-worker.js'),
              `const BUILD = ${JSON.stringify({ version, files }, null, 1)};\n${readFileSync(template, 'utf8')}`);
